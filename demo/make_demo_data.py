#!/usr/bin/env python3
"""Writes the demo data: the configuration, the catalogues and the download
pages that demo/serve.py hands to nokia-browser-demo.

Run it from anywhere: python3 demo/make_demo_data.py
It rewrites demo/primary/ and demo/mirror/ completely. Every model, version,
product code and file name in here is made up for the demo; the phone names
and their type codes are only there so the lists look familiar.
"""

import random
import shutil
import sys
from pathlib import Path

PRIMARY = "http://127.0.0.1:18936"
MIRROR = "http://127.0.0.1:18937"

HERE = Path(__file__).resolve().parent
PRIMARY_ROOT = HERE / "primary"
MIRROR_ROOT = HERE / "mirror"

# The browser compares answer lengths with 10 bytes: the built-in mode asks the
# mirror below 10, the configured mode moves on at 10 or fewer.
SHORT_BB5 = b"moved\r\n"  # 7 bytes: built-in BB5 and configured URL1 go on to the mirror
EXACTLY_TEN = b"try again\n"  # 10 bytes: not long enough in configured mode either

# Seeded so that running the script again reproduces the committed files.
rng = random.Random(20240936)


def gbk(text):
    """Code page 936 bytes with CRLF line ends."""
    return text.replace("\r\n", "\n").replace("\n", "\r\n").encode("gbk")


def write(path, data):
    path.parent.mkdir(parents=True, exist_ok=True)
    path.write_bytes(data)


def xml_attr(text):
    return text.replace("&", "&amp;").replace("<", "&lt;").replace('"', "&quot;")


def xml_text(text):
    return text.replace("&", "&amp;").replace("<", "&lt;").replace(">", "&gt;")


def html(text):
    return text.replace("&", "&amp;").replace("<", "&lt;").replace(">", "&gt;")


# ---------------------------------------------------------------------------
# Models. (name, type code)

BB5_MODELS = [
    ("1680 classic", "RM-394"), ("2323 classic", "RM-543"), ("2330 classic", "RM-512"),
    ("2600 classic", "RM-340"), ("2630", "RM-298"), ("2660", "RM-292"), ("2680 slide", "RM-392"),
    ("2700 classic", "RM-561"), ("2720 fold", "RM-519"), ("2730 classic", "RM-578"),
    ("2760", "RM-258"), ("3109 classic", "RM-274"), ("3110 classic", "RM-237"),
    ("3120 classic", "RM-364"), ("3250", "RM-38"), ("3500 classic", "RM-272"),
    ("3600 slide", "RM-352"), ("3610 fold", "RM-429"), ("3720 classic", "RM-518"),
    ("5000", "RM-362"), ("5130 XpressMusic", "RM-495"),
    ("5200", "RM-174"), ("5220 XpressMusic", "RM-411"), ("5230", "RM-588"),
    ("5233", "RM-625"), ("5250", "RM-684"), ("5300", "RM-146"),
    ("5310 XpressMusic", "RM-303"), ("5320 XpressMusic", "RM-409"), ("5500 Sport", "RM-86"),
    ("5530 XpressMusic", "RM-504"), ("5610 XpressMusic", "RM-242"),
    ("5630 XpressMusic", "RM-431"), ("5700 XpressMusic", "RM-230"),
    ("5730 XpressMusic", "RM-465"), ("5800 XpressMusic", "RM-356"),
    ("5800 Navigation Edition", "RM-428"), ("6070", "RM-166"), ("6085", "RM-198"),
    ("6110 Navigator", "RM-122"), ("6120 classic", "RM-243"), ("6121 classic", "RM-308"),
    ("6124 classic", "RM-310"), ("6131", "RM-115"), ("6151", "RM-200"),
    ("6210 Navigator", "RM-367"), ("6220 classic", "RM-328"),
    ("6233", "RM-145"), ("6234", "RM-123"), ("6270", "RM-56"), ("6280", "RM-78"),
    ("6288", "RM-77"), ("6290", "RM-177"), ("6300", "RM-217"), ("6300i", "RM-337"),
    ("6301", "RM-322"), ("6303 classic", "RM-443"), ("6500 classic", "RM-265"),
    ("6500 slide", "RM-240"), ("6600 fold", "RM-325"), ("6600 slide", "RM-414"),
    ("6630", "RM-1"), ("6680", "RM-36"), ("6681", "RM-57"), ("6700 classic", "RM-470"),
    ("6710 Navigator", "RM-491"), ("6720 classic", "RM-424"), ("6730 classic", "RM-566"),
    ("6760 slide", "RM-354"), ("7070 Prism", "RM-319"), ("7100 Supernova", "RM-400"),
    ("7210 Supernova", "RM-436"), ("7310 Supernova", "RM-379"), ("7373", "RM-209"),
    ("7390", "RM-140"), ("7500 Prism", "RM-249"), ("7510 Supernova", "RM-398"),
    ("8600 Luna", "RM-164"), ("8800 Arte", "RM-233"),
    ("8800 Sirocco", "RM-165"), ("E50", "RM-170"), ("E51", "RM-244"), ("E52", "RM-469"),
    ("E55", "RM-482"), ("E60", "RM-49"), ("E61i", "RM-227"), ("E62", "RM-88"),
    ("E63", "RM-437"), ("E65", "RM-208"), ("E66", "RM-343"), ("E71", "RM-346"),
    ("E72", "RM-530"), ("E75", "RM-412"), ("E90 Communicator", "RA-6"),
    ("N70", "RM-84"), ("N71", "RM-67"), ("N72", "RM-180"), ("N73", "RM-133"),
    ("N75", "RM-128"), ("N76", "RM-135"), ("N77", "RM-194"), ("N78", "RM-235"),
    ("N79", "RM-348"), ("N80", "RM-92"), ("N81", "RM-179"), ("N81 8GB", "RM-223"),
    ("N82", "RM-313"), ("N85", "RM-333"), ("N86 8MP", "RM-484"), ("N90", "RM-42"),
    ("N91", "RM-43"), ("N92", "RM-100"), ("N93", "RM-55"), ("N93i", "RM-156"),
    ("N95", "RM-159"), ("N95 8GB", "RM-320"), ("N96", "RM-247"), ("N97", "RM-505"),
    ("N97 mini", "RM-555"), ("X6", "RM-559"),
]

DCT4_MODELS = [
    ("1100", "RH-18"), ("1108", "RH-70"), ("1110", "RH-93"), ("1112", "RH-92"),
    ("1600", "RH-64"), ("2100", "NAM-2"), ("2300", "RM-4"), ("2600", "RH-59"),
    ("2650", "RH-53"), ("3100", "RH-19"), ("3105", "RH-48"), ("3108", "RH-6"),
    ("3120", "RH-19"), ("3200", "RH-30"), ("3220", "RH-37"), ("3230", "RM-51"),
    ("3300", "NEM-1"), ("3510i", "RH-9"), ("3530", "RH-9"), ("3650", "NHL-8"),
    ("3660", "NHL-8"), ("5100", "NPM-6"), ("5140", "NPL-5"), ("5140i", "RM-104"),
    ("6010", "NPM-10"), ("6020", "RM-30"), ("6021", "RM-94"), ("6030", "RM-74"),
    ("6060", "RH-73"), ("6100", "NPL-2"), ("6101", "RM-76"), ("6108", "RH-4"),
    ("6170", "RM-47"), ("6230", "RH-12"), ("6230i", "RM-72"), ("6260", "RH-25"),
    ("6600", "NHL-10"), ("6610", "NHL-4U"), ("6610i", "RM-37"), ("6620", "NHL-12"),
    ("6670", "RH-67"), ("6800", "NHL-6"), ("6820", "NHL-9"), ("7200", "RH-23"),
    ("7210", "NHL-4"), ("7250i", "NHL-4JX"), ("7260", "RM-17"), ("7270", "RM-8"),
    ("7280", "RM-14"), ("7610", "RH-51"), ("7650", "NHL-2NA"), ("7710", "RM-12"),
    ("8310", "NHM-7"), ("8800", "RM-13"), ("8910i", "NHM-4NX"), ("N-Gage", "NEM-4"),
    ("N-Gage QD", "RH-29"),
]

CS_MODELS = [
    ("Asha 200", "RM-761"), ("Asha 201", "RM-799"), ("Asha 202", "RM-834"),
    ("Asha 203", "RM-832"), ("Asha 205", "RM-862"), ("Asha 210", "RM-924"),
    ("Asha 300", "RM-781"), ("Asha 302", "RM-813"), ("Asha 303", "RM-763"),
    ("Asha 305", "RM-766"), ("Asha 306", "RM-767"), ("Asha 308", "RM-838"),
    ("Asha 309", "RM-843"), ("Asha 310", "RM-911"), ("Asha 311", "RM-714"),
    ("Asha 500", "RM-934"), ("Asha 501", "RM-902"), ("Asha 502", "RM-921"),
    ("Asha 503", "RM-958"), ("C1-01", "RM-607"), ("C2-00", "RM-704"), ("C2-01", "RM-721"),
    ("C2-02", "RM-702"), ("C2-05", "RM-724"), ("C3-00", "RM-614"), ("C3-01", "RM-640"),
    ("C5-00", "RM-645"), ("C5-03", "RM-697"), ("C6-00", "RM-612"), ("C6-01", "RM-601"),
    ("C7-00", "RM-675"), ("E5-00", "RM-634"), ("E6-00", "RM-609"), ("E7-00", "RM-626"),
    ("N8-00", "RM-596"), ("X2-00", "RM-618"), ("X2-01", "RM-709"), ("X3-00", "RM-540"),
    ("X3-02", "RM-639"), ("X7-00", "RM-707"), ("500", "RM-750"), ("600", "RM-753"),
    ("603", "RM-779"), ("700", "RM-670"), ("701", "RM-774"), ("808 PureView", "RM-807"),
    ("Lumia 510", "RM-889"), ("Lumia 520", "RM-914"), ("Lumia 610", "RM-835"),
    ("Lumia 620", "RM-846"), ("Lumia 710", "RM-803"), ("Lumia 720", "RM-885"),
    ("Lumia 800", "RM-801"), ("Lumia 820", "RM-825"), ("Lumia 920", "RM-821"),
    ("Lumia 925", "RM-892"), ("Lumia 1020", "RM-875"),
]

# Series 40 phones whose language packs the fifth category lists.
LANGUAGE_MODELS = [
    ("2220 slide", "RM-590"), ("2690", "RM-635"), ("2700 classic", "RM-561"),
    ("2710 Navigation", "RM-586"), ("2720 fold", "RM-519"), ("3710 fold", "RM-510"),
    ("3720 classic", "RM-518"), ("5130 XpressMusic", "RM-495"), ("5310 XpressMusic", "RM-303"),
    ("6260 slide", "RM-577"), ("6300", "RM-217"), ("6303 classic", "RM-443"),
    ("6303i classic", "RM-638"), ("6500 classic", "RM-265"),
    ("6700 classic", "RM-470"), ("6700 slide", "RM-576"), ("7020", "RM-497"),
    ("7230", "RM-604"), ("7510 Supernova", "RM-398"), ("7610 Supernova", "RM-354"),
    ("8800 Carbon Arte", "RM-271"), ("X2-00", "RM-618"), ("X3-00", "RM-540"),
    ("C2-01", "RM-721"), ("C3-00", "RM-614"), ("C3-01", "RM-640"), ("C5-00", "RM-645"),
    ("Asha 200", "RM-761"), ("Asha 300", "RM-781"), ("Asha 303", "RM-763"),
    ("Asha 305", "RM-766"),
]

REGIONS = [
    ("CN", "中国大陆行货"), ("HK", "香港版"), ("TW", "台湾版"), ("APAC", "亚太版"),
    ("EURO1", "欧版"), ("ME", "中东版"),
]
COLOURS = ["黑", "白", "银", "红", "蓝", "灰"]
LANGUAGES = ["简体中文", "繁体中文", "英语", "泰语", "越南语", "印尼语", "阿拉伯语", "俄语"]


# Phones whose software is numbered the S60 way; the rest are Series 40.
S60 = {"3250", "5230", "5233", "5250", "5320 XpressMusic", "5500 Sport", "5530 XpressMusic",
       "5630 XpressMusic", "5700 XpressMusic", "5730 XpressMusic", "5800 XpressMusic",
       "5800 Navigation Edition", "6110 Navigator", "6120 classic", "6121 classic",
       "6124 classic", "6210 Navigator", "6220 classic", "6290", "6630", "6680", "6681",
       "6710 Navigator", "6720 classic", "6730 classic", "6760 slide", "7610 Supernova", "X6"}
SYMBIAN3 = {"C5-00", "C5-03", "C6-00", "C6-01", "C7-00", "E5-00", "E6-00", "E7-00", "N8-00",
            "X7-00", "500", "600", "603", "700", "701", "808 PureView"}


def s60_version(name):
    return "V %d.%d.%03d" % (rng.choice([10, 11, 20, 21, 30, 31]), rng.choice([0, 0, 0, 1, 2]),
                             rng.randint(1, 120))


def s40_version(name=""):
    return "V %02d.%02d" % (rng.randint(3, 10), rng.choice([10, 21, 30, 41, 50, 71, 82, 91]))


def bb5_version(name):
    return s60_version(name) if name in S60 or name[0] in "EN" else s40_version()


def phoenix_version(name):
    return "%d.%03d" % (rng.randint(10, 13), rng.randint(1, 99))


def care_suite_version(name):
    if name.startswith("Lumia"):
        return "%d.%d.%d.%d" % (rng.choice([1232, 1308, 1314]), rng.choice([2110, 3040]),
                                rng.randint(1200, 1399), rng.randint(3000, 3020))
    if name in SYMBIAN3:
        return "V %s.%03d.%04d" % (rng.choice(["022", "025", "111", "112"]), rng.randint(1, 60),
                                   rng.randint(1, 1600))
    return "V %d.%d.%d" % (rng.randint(6, 15), rng.randint(0, 9), rng.randint(1, 9))


def code_digits(code):
    return code.replace("-", "").replace(" ", "")


def slug(text):
    keep = []
    for ch in text.lower():
        if ch.isascii() and ch.isalnum():
            keep.append(ch)
        elif keep and keep[-1] != "-":
            keep.append("-")
    return "".join(keep).strip("-")


def size_text(megabytes):
    if megabytes < 0.1:
        return "%d KB" % max(1, round(megabytes * 1024))
    return "%.1f MB" % megabytes if megabytes < 100 else "%d MB" % megabytes


# ---------------------------------------------------------------------------
# One version: the files it offers and its links. Each version gets its own
# download page; each link points at that page, at the anchor of its file.

USED_PAGES = set()


def unique_page(stem):
    # PHOENIX lists one phone once per sales package, so the stem can repeat.
    page, n = stem + ".html", 1
    while page in USED_PAGES:
        n += 1
        page = "%s-%d.html" % (stem, n)
    USED_PAGES.add(page)
    return page


class Version:
    def __init__(self, folder, model, code, version, files, region, note):
        self.folder = folder
        self.model = model
        self.code = code
        self.version = version
        self.files = files  # [(anchor, kind, file name, size)]
        self.region = region
        self.note = note
        self.page = unique_page("pages/%s/%s-%s-%s" % (folder, slug(code), slug(model), slug(version)))

    def address(self, anchor, kind_key):
        # Query strings with '&' make the catalogues carry &amp; in addresses.
        return "%s/%s?file=%s&lang=chs&from=%s#%s" % (PRIMARY, self.page, kind_key, self.folder, anchor)


def make_files(name, code, version, family):
    digits = code_digits(code)
    plain = version.replace("V ", "").strip()
    # A PHOENIX entry names its sales region; the others get one at random.
    region, region_name = next((r for r in REGIONS if r[1] in name), rng.choice(REGIONS))
    product = "0%d" % rng.randint(550000, 599999)
    files = []
    if family == "symbian" and plain.count(".") == 1:
        family = "dct4"  # a Series 40 BB5 phone ships files the older way
    if family == "symbian":
        files.append(("mcu", "固件包", "%s_%s_prd.core.C00" % (digits, plain), rng.uniform(40, 160)))
        files.append(("ppm", "语言包", "%s_%s_prd.rofs2.V%02d" % (digits, plain, rng.randint(1, 40)),
                      rng.uniform(20, 90)))
        files.append(("cnt", "内容包", "%s_%s_%s_%s.image.fpsx" % (digits, plain, product, region),
                      rng.uniform(5, 400)))
    elif family == "dct4":
        files.append(("mcu", "固件包", "%s_%s.mcu" % (digits.lower(), plain.replace(".", "")),
                      rng.uniform(1.5, 4.0)))
        files.append(("ppm", "语言包", "%s_%s.ppm_%s" % (digits.lower(), plain.replace(".", ""),
                                                    rng.choice("ABCDEC")), rng.uniform(0.8, 2.5)))
        files.append(("cnt", "内容包", "%s_%s.cnt" % (digits.lower(), plain.replace(".", "")),
                      rng.uniform(0.5, 6.0)))
    elif family == "phoenix":
        files.append(("dp", "数据包", "%s_%s_%s_%s.zip" % (digits, plain, product, region),
                      rng.uniform(30, 300)))
        files.append(("ini", "产品配置", "%s.ini" % digits, 0.01))
    elif family == "lang":
        files.append(("ppm", "语言包", "%s_%s_ppm_%s.zip" % (digits, plain.replace(".", ""), region),
                      rng.uniform(1.0, 8.0)))
    else:  # care suite era: one flash package per product code
        files.append(("pkg", "固件包", "%s_%s_%s_%s.zip" % (digits, plain, product, region),
                      rng.uniform(60, 900)))
        files.append(("drv", "驱动", "Nokia_Connectivity_Cable_Driver_7.1.%d.exe" % rng.randint(100, 182),
                      rng.uniform(2, 9)))
    return files, region_name, product


def links_of(ver, family):
    """(text, address) pairs; an empty text shows as the download-page item."""
    out = []
    for anchor, kind, name, size in ver.files:
        # The link list is narrow: the label says what and how big, the page the rest.
        out.append(("%s %s" % (kind, size_text(size).replace(" ", "")), ver.address(anchor, anchor)))
    # The empty text is the one item the browser opens; it goes to the page top.
    out.insert(1 if len(out) > 1 else 0, ("", ver.address("top", "all")))
    out.append(("说明: " + ver.region, ver.address("note", "note")))
    if rng.random() < 0.25:
        out.append(("下载", ver.address(ver.files[0][0], ver.files[0][0])))
    return out


# ---------------------------------------------------------------------------
# Catalogues

NOTES = [
    "%s，升级前请备份通讯录与短信",
    "%s，刷机前电量请保持在 50%% 以上",
    "%s，需配合最新数据线驱动",
    "%s，升级后不可降级",
    "%s，修正了待机耗电与信号问题",
    "%s，仅适用于行货机型",
]


def note_for(region_name, product):
    return rng.choice(NOTES) % ("%s (产品代码 %s)" % (region_name, product))


def display(name, code):
    # PHOENIX names start with the type code already (it sorts by product).
    return name if name.startswith(code) else "%s %s" % (name, code)


def build_catalogue(folder, title, models, family, version_maker, versions_range):
    entries = []
    for name, code in models:
        count = rng.randint(*versions_range)
        seen = set()
        versions = []
        for _ in range(count):
            v = version_maker(name)
            if v in seen:
                continue
            seen.add(v)
            files, region_name, product = make_files(name, code, v, family)
            plain = name[len(code):].strip() if name.startswith(code) else name
            versions.append(Version(folder, plain, code, v, files, region_name,
                                    note_for(region_name, product)))
        # Newest first, as publishers list them.
        versions.sort(key=lambda ver: [int(p) for p in ver.version.replace("V ", "").split(".")],
                      reverse=True)
        entries.append((display(name, code), versions))
    return entries


def catalogue_xml(title, entries, family):
    lines = [
        '<?xml version="1.0" encoding="gb2312"?>',
        "<!-- %s 资料目录，演示数据，由 demo/make_demo_data.py 生成 -->" % title,
        "<!-- 结构：目录 / 机型 (value=名称) / 版本 (value=版本号) / 链接 (value=下载页地址，文字为说明) -->",
        '<catalogue name="%s" updated="2011-06-18">' % xml_attr(title),
    ]
    for i, (model_name, versions) in enumerate(entries):
        if i and i % 25 == 0:
            lines.append("  <!-- 第 %d 个机型起 -->" % (i + 1))
        lines.append('  <model value="%s">' % xml_attr(model_name))
        for ver in versions:
            lines.append('    <version value="%s">' % xml_attr(ver.version))
            for text, address in links_of(ver, family):
                if text:
                    lines.append('      <link value="%s">%s</link>' % (xml_attr(address), xml_text(text)))
                else:
                    lines.append('      <link value="%s"></link>' % xml_attr(address))
            lines.append("    </version>")
        lines.append("  </model>")
    lines.append("</catalogue>")
    return gbk("\n".join(lines) + "\n")


PAGE = """<!DOCTYPE html>
<html lang="zh-CN">
<head>
<meta charset="gbk">
<title>Nokia {model} ({code}) {version} 下载页</title>
<style>body{{font-family:sans-serif;margin:2em;max-width:40em}} td,th{{padding:.2em .8em;text-align:left}}</style>
</head>
<body>
<h1 id="top">Nokia {model} ({code})</h1>
<p>版本 <b>{version}</b> &middot; 目录：{catalogue}</p>
<table>
<tr><th>类型</th><th>文件</th><th>大小</th></tr>
{rows}
</table>
<p id="note">说明：{note}</p>
<p><small>演示下载页：本页由 nokia-browser-demo 的本地演示服务器提供，列出的文件并不存在。</small></p>
<p><a href="/">返回首页</a></p>
</body>
</html>
"""


def page_html(ver, catalogue):
    rows = "\n".join(
        '<tr id="%s"><td>%s</td><td><code>%s</code></td><td>%s</td></tr>'
        % (anchor, html(kind), html(name), size_text(size))
        for anchor, kind, name, size in ver.files
    )
    return gbk(PAGE.format(model=html(ver.model), code=html(ver.code), version=html(ver.version),
                           catalogue=html(catalogue), rows=rows, note=html(ver.note)))


INDEX = """<!DOCTYPE html>
<html lang="zh-CN">
<head>
<meta charset="gbk">
<title>NOKIA 手机资料 演示服务器 ({role})</title>
</head>
<body>
<h1>NOKIA 手机资料 演示服务器</h1>
<p>这是 nokia-browser-demo 的本地{role}，只在 127.0.0.1 上监听。</p>
<ul>
{items}
</ul>
</body>
</html>
"""


CONFIG = """; 资料查阅器的分类与目录地址（演示数据）
; [MENU] 下的 1、2、3…… 是分类名称；[1]、[2]…… 下的 URL1、URL2…… 按顺序尝试，
; 第一个答复超过 10 个字节的地址被采用。
[MENU]
1=BB5 手机
2=DCT4/WD2
3=PHOENIX 刷机
4=Care Suite 工具
5=S40 语言包

; 主服务器上的 BB5.xml 只有几个字节，于是改用镜像上的副本。
[1]
URL1={primary}/tools/BB5.xml
URL2={mirror}/tools/BB5.xml

[2]
URL1={primary}/tools/DCT4.xml

; 旧目录已清空，临时地址只答复 10 个字节，第三个地址才可用。
[3]
URL1={primary}/catalogues/phoenix-2009.xml
URL2={mirror}/catalogues/phoenix-busy.txt
URL3={primary}/tools/PHOENIX.xml

; 镜像优先；主服务器上的副本作为后备，正常情况下不会被请求。
[4]
URL1={mirror}/tools/CS.xml
URL2={primary}/tools/CS.xml

[5]
URL1={primary}/catalogues/s40-language.xml
"""


def main():
    for root in (PRIMARY_ROOT, MIRROR_ROOT):
        if root.exists():
            shutil.rmtree(root)

    catalogues = [
        # file, title, models, family, version maker, versions per model, where it lives
        ("BB5.xml", "bb5", "BB5 手机", BB5_MODELS, "symbian", bb5_version, (1, 3)),
        ("DCT4.xml", "dct4", "DCT4/WD2", DCT4_MODELS, "dct4", s40_version, (1, 3)),
        ("PHOENIX.xml", "phoenix", "PHOENIX 刷机", None, "phoenix", phoenix_version, (1, 2)),
        ("CS.xml", "cs", "Care Suite 工具", CS_MODELS, "cs", care_suite_version, (1, 2)),
        ("s40-language.xml", "lang", "S40 语言包", LANGUAGE_MODELS, "lang", s40_version, (1, 2)),
    ]

    # PHOENIX lists product codes, one entry per sales package of a BB5 phone.
    phoenix_models = []
    for name, code in rng.sample(BB5_MODELS, 40):
        for _ in range(rng.randint(1, 2)):
            region, region_name = rng.choice(REGIONS)
            phoenix_models.append(("%s %s %s%s" % (code, name, region_name, rng.choice(COLOURS)), code))
    phoenix_models.sort(key=lambda entry: (int(entry[1].split("-")[1]), entry[0]))

    counts = {}
    pages = 0
    for file_name, folder, title, models, family, maker, per_model in catalogues:
        entries = build_catalogue(folder, title, models or phoenix_models, family, maker, per_model)
        counts[file_name] = len(entries)
        data = catalogue_xml(title, entries, family)
        for _, versions in entries:
            for ver in versions:
                write(PRIMARY_ROOT / ver.page, page_html(ver, title))
                pages += 1
        if file_name == "s40-language.xml":
            write(PRIMARY_ROOT / "catalogues" / file_name, data)
            continue
        # The mirror holds every built-in catalogue; the primary all but BB5,
        # for which it answers too short, so the mirror's copy is the one shown.
        write(MIRROR_ROOT / "tools" / file_name, data)
        write(PRIMARY_ROOT / "tools" / file_name, SHORT_BB5 if file_name == "BB5.xml" else data)

    write(PRIMARY_ROOT / "catalogues" / "phoenix-2009.xml", b"")
    write(MIRROR_ROOT / "catalogues" / "phoenix-busy.txt", EXACTLY_TEN)
    assert len(SHORT_BB5) < 10 and len(EXACTLY_TEN) == 10

    config = gbk(CONFIG.format(primary=PRIMARY, mirror=MIRROR))
    write(PRIMARY_ROOT / "tools" / "config.ini", config)
    write(MIRROR_ROOT / "tools" / "config.ini", config)

    for root, role in ((PRIMARY_ROOT, "主服务器"), (MIRROR_ROOT, "镜像服务器")):
        items = "\n".join('<li><a href="%s">%s</a></li>' % (p, p) for p in
                          sorted("/" + str(f.relative_to(root)) for f in (root / "tools").iterdir()))
        write(root / "index.html", gbk(INDEX.format(role=role, items=items)))

    total = sum(counts.values())
    summary = ", ".join("%s %d" % (k, v) for k, v in counts.items())
    print("demo data: %d models (%s), %d download pages" % (total, summary, pages), file=sys.stderr)


if __name__ == "__main__":
    main()
