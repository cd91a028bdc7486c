#include "catalogue_generator.h"

#include <array>
#include <charconv>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace nb::bench {
namespace {

// SplitMix64 with a multiply-shift range reduction: unlike the standard
// distributions, its output is fixed by this code alone, so a seed names the
// same catalogue on every standard library.
class Rng {
 public:
  explicit Rng(std::uint32_t seed) : state_(0x9E3779B97F4A7C15u ^ seed) {}

  std::uint64_t Next() {
    state_ += 0x9E3779B97F4A7C15u;
    std::uint64_t z = state_;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9u;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBu;
    return z ^ (z >> 31);
  }

  // In [0, n); the bias of the reduction is far below anything a benchmark sees.
  std::uint32_t Below(std::uint32_t n) {
    return static_cast<std::uint32_t>(((Next() >> 32) * n) >> 32);
  }
  std::uint32_t Between(std::uint32_t low, std::uint32_t high) {
    return low + Below(high - low + 1);
  }
  bool Percent(std::uint32_t chance) { return Below(100) < chance; }

  template <typename Items>
  const auto& Pick(const Items& items) {
    return items[Below(static_cast<std::uint32_t>(items.size()))];
  }

 private:
  std::uint64_t state_;
};

struct ModelName {
  std::string_view name;  // as the catalogue shows it
  std::string_view type;  // the RM code that download addresses carry
};

constexpr std::array kModels = {
    ModelName{"N70-1", "RM-84"},      ModelName{"N72", "RM-180"},
    ModelName{"N73-1", "RM-133"},     ModelName{"N76-1", "RM-135"},
    ModelName{"N78", "RM-235"},       ModelName{"N79-1", "RM-348"},
    ModelName{"N81-1", "RM-223"},     ModelName{"N82", "RM-313"},
    ModelName{"N85-1", "RM-333"},     ModelName{"N86 8MP", "RM-484"},
    ModelName{"N93i", "RM-156"},      ModelName{"N95-1", "RM-159"},
    ModelName{"N95-2 8GB", "RM-320"}, ModelName{"N96-1", "RM-247"},
    ModelName{"N97-1", "RM-505"},     ModelName{"N97 mini", "RM-555"},
    ModelName{"N8-00", "RM-596"},     ModelName{"N900", "RM-510"},
    ModelName{"E51-1", "RM-244"},     ModelName{"E63-1", "RM-437"},
    ModelName{"E66-1", "RM-343"},     ModelName{"E71-1", "RM-346"},
    ModelName{"E72-1", "RM-530"},     ModelName{"E75-1", "RM-412"},
    ModelName{"E5-00", "RM-632"},     ModelName{"E6-00", "RM-609"},
    ModelName{"E7-00", "RM-626"},     ModelName{"5230", "RM-588"},
    ModelName{"5310", "RM-303"},      ModelName{"5320d", "RM-409"},
    ModelName{"5530", "RM-504"},      ModelName{"5610d", "RM-242"},
    ModelName{"5630", "RM-431"},      ModelName{"5700", "RM-230"},
    ModelName{"5800d-1", "RM-356"},   ModelName{"6110n", "RM-122"},
    ModelName{"6120c-1", "RM-243"},   ModelName{"6124c", "RM-276"},
    ModelName{"6210s", "RM-367"},     ModelName{"6220c", "RM-328"},
    ModelName{"6233", "RM-145"},      ModelName{"6300", "RM-217"},
    ModelName{"6303c", "RM-638"},     ModelName{"6500c", "RM-265"},
    ModelName{"6500s-1", "RM-240"},   ModelName{"6600s", "RM-414"},
    ModelName{"6630", "RM-1"},        ModelName{"6680", "RM-36"},
    ModelName{"6700c-1", "RM-470"},   ModelName{"6730c", "RM-566"},
    ModelName{"7310s", "RM-462"},     ModelName{"7610", "RM-51"},
    ModelName{"8800 Arte", "RM-233"}, ModelName{"2700c-2", "RM-561"},
    ModelName{"2730c", "RM-578"},     ModelName{"3110c", "RM-237"},
    ModelName{"3120c", "RM-364"},     ModelName{"3250", "RM-38"},
    ModelName{"C5-00", "RM-645"},     ModelName{"C6-00", "RM-612"},
    ModelName{"C7-00", "RM-675"},     ModelName{"X6-00", "RM-559"},
    ModelName{"X3-00", "RM-540"},     ModelName{"808 PureView", "RM-807"},
    ModelName{"700", "RM-670"},       ModelName{"701", "RM-774"},
};

// Real catalogues list one model several times, once per market variant.
constexpr std::array<std::string_view, 10> kVariants = {
    "", "", "", "", " CN", " (APAC)", " HK", " TW", " Euro", " CV",
};

// The text bytes below are GBK, as the catalogue holds them; each carries its
// reading in a comment. The traditional forms matter beyond realism: their
// second bytes fall in the ASCII range, which a reader must not take for markup.
constexpr std::array<std::string_view, 22> kLabels = {
    "\xCF\xC2\xD4\xD8",                  // 下载
    "\xB9\xCC\xBC\xFE\xB0\xFC",          // 固件包
    "\xD3\xEF\xD1\xD4\xB0\xFC",          // 语言包
    "\xCB\xB5\xC3\xF7",                  // 说明
    "\xCD\xEA\xD5\xFB\xB0\xFC",          // 完整包
    "\xC4\xDA\xC8\xDD\xB0\xFC",          // 内容包
    "\xB1\xB8\xD3\xC3\xCF\xC2\xD4\xD8",  // 备用下载
    "\xBE\xB5\xCF\xF1",                  // 镜像
    "\xB2\xB9\xB6\xA1",                  // 补丁
    "\xCB\xB5\xC3\xF7\xCA\xE9",          // 说明书
    "\xCB\xA2\xBB\xFA\xBD\xCC\xB3\xCC",  // 刷机教程
    "\xCD\xEA\xD5\xFB\xB9\xCC\xBC\xFE",  // 完整固件
    "\xB9\xD9\xB7\xBD\xB9\xCC\xBC\xFE",  // 官方固件
    "\xB5\xD8\xCD\xBC",                  // 地图
    "\xD6\xF7\xCC\xE2",                  // 主题
    "\xB5\xE7\xD0\xC5\xB6\xA8\xD6\xC6",  // 电信定制
    "\xCF\xC2\xDD\x64",                  // 下載
    "\xED\x67\xF3\x77",                  // 韌體
    "\xD5\x5A\xD1\xD4\xB0\xFC",          // 語言包
    "\xD5\x66\xC3\xF7",                  // 說明
    "\xCB\xA2\x99\x43",                  // 刷機
    "\x9C\x79\xD4\x87\xB0\xE6",          // 測試版
};

constexpr std::array<std::string_view, 6> kLanguages = {
    "\xBC\xF2\xCC\xE5\xD6\xD0\xCE\xC4",  // 简体中文
    "\xB7\xB1\xF3\x77\xD6\xD0\xCE\xC4",  // 繁體中文
    "\xD3\xA2\xCE\xC4",                  // 英文
    "\xB9\xFA\xD0\xD0\xB0\xE6",          // 国行版
    "\xB8\xDB\xD0\xD0",                  // 港行
    "\xCC\xA8\xB0\xE6",                  // 台版
};

constexpr std::string_view kRecommended = "\xCD\xC6\xBC\xF6";                  // 推荐
constexpr std::string_view kUpdatedOn = "\xB8\xFC\xD0\xC2\xD3\xDA";            // 更新于
constexpr std::string_view kModelWord = "\xD0\xCD\xBA\xC5";                    // 型号
constexpr std::string_view kSizeWord = "\xB4\xF3\xD0\xA1";                     // 大小
constexpr std::string_view kChecksumWord = "\xD0\xA3\xD1\xE9\xC2\xEB";         // 校验码
constexpr std::string_view kMirrorSites = "\xBE\xB5\xCF\xF1\xD5\xBE\xB5\xE3";  // 镜像站点
constexpr std::string_view kOldRemoved =
    "\xBE\xC9\xB0\xE6\xB1\xBE\xD2\xD1\xC9\xBE\xB3\xFD";  // 旧版本已删除
constexpr std::string_view kDeadLink =
    "\xB5\xD8\xD6\xB7\xCA\xA7\xD0\xA7\xA3\xAC\xC7\xEB\xD3\xC3"
    "\xB1\xB8\xD3\xC3\xCF\xC2\xD4\xD8";  // 地址失效，请用备用下载
constexpr std::string_view kTitle =
    "\xC5\xB5\xBB\xF9\xD1\xC7\xCA\xD6\xBB\xFA\xB9\xCC\xBC\xFE"
    "\xCF\xC2\xD4\xD8\xC4\xBF\xC2\xBC";  // 诺基亚手机固件下载目录
constexpr std::string_view kCollected = "\xD3\xC9\xCD\xF8\xD3\xD1\xD5\xFB\xC0\xED";  // 由网友整理

constexpr std::array<std::string_view, 6> kHosts = {
    "nds1.nokia.com",    "nds2.nokia.com", "www.nokia.com.cn",
    "dl.example.com.cn", "bbs.example.cn", "mirror.example.net",
};

constexpr std::array<std::string_view, 5> kPaths = {
    "/files/support/global/phones/software/download.jsp",
    "/files/support/apac/phones/software/get.aspx",
    "/download/firmware.aspx",
    "/attachment.php",
    "/fw/get.php",
};

constexpr std::array<std::string_view, 7> kPackages = {
    "core", "rofs2", "rofs3", "uda", "lang", "content", "full",
};

constexpr std::array<std::string_view, 4> kLanguageCodes = {"zh-CN", "zh-TW", "zh-HK", "en"};

// Query parameters beyond &amp;: the known references a reader decodes, a
// numeric one and an unknown one it must leave as written.
constexpr std::array<std::string_view, 6> kEscapedParameters = {
    "&amp;name=&quot;Nokia&quot;", "&amp;region=APAC&#38;CN", "&amp;desc=&lt;core&gt;",
    "&amp;note=it&apos;s",         "&amp;sp=a&nbsp;b",        "&amp;q=&quote;fw&quote;",
};

// Catalogues edited by hand over the years mix indentation styles, model by model.
constexpr std::array<std::string_view, 5> kIndents = {"\t", "  ", "    ", "\t", " \t"};

void AppendNumber(std::string& out, std::uint32_t value, int width = 0) {
  std::array<char, 16> digits{};
  const auto [end, ec] = std::to_chars(digits.data(), digits.data() + digits.size(), value);
  (void)ec;  // 16 digits hold any uint32
  const auto count = static_cast<int>(end - digits.data());
  for (int i = count; i < width; ++i)
    out += '0';
  out.append(digits.data(), end);
}

void AppendHex(std::string& out, std::uint64_t value) {
  constexpr std::string_view kDigits = "0123456789abcdef";
  for (int shift = 60; shift >= 0; shift -= 4)
    out += kDigits[(value >> shift) & 0xF];
}

void AppendIndent(std::string& out, std::string_view unit, int depth) {
  for (int i = 0; i < depth; ++i)
    out += unit;
}

struct Version {
  std::uint32_t major = 0;
  std::uint32_t minor = 0;
  std::uint32_t build = 0;
  int style = 0;
};

void AppendVersion(std::string& out, const Version& v) {
  switch (v.style) {
    case 0:  // S60: "V 21.0.016"
      out += "V ";
      AppendNumber(out, v.major, 2);
      out += '.';
      AppendNumber(out, v.minor);
      out += '.';
      AppendNumber(out, v.build, 3);
      break;
    case 1:  // S40: "12.046"
      AppendNumber(out, v.major, 2);
      out += '.';
      AppendNumber(out, v.build, 3);
      break;
    case 2:  // older S40: "V 07.21"
      out += "V ";
      AppendNumber(out, v.major, 2);
      out += '.';
      AppendNumber(out, v.build % 100, 2);
      break;
    default:  // Symbian^3: "022.014"
      AppendNumber(out, v.major, 3);
      out += '.';
      AppendNumber(out, v.build, 3);
      break;
  }
}

class Writer {
 public:
  Writer(std::string& out, std::uint32_t seed) : out_(out), rng_(seed) {}

  void Prologue(std::uint32_t seed) {
    out_ += "<?xml version=\"1.0\" encoding=\"gb2312\"?>\r\n";
    out_ += "<!-- ";
    out_ += kTitle;
    out_ += " -->\r\n<!-- ";
    out_ += kCollected;
    out_ += ", ";
    out_ += kUpdatedOn;
    out_ += " 2010-08-";
    AppendNumber(out_, 1 + seed % 28, 2);
    out_ += " -->\r\n<nokia>\r\n";
  }

  void Epilogue() { out_ += "</nokia>\r\n<!-- end -->\r\n"; }

  void Model() {
    const ModelName& model = rng_.Pick(kModels);
    const std::string_view variant = rng_.Pick(kVariants);
    indent_ = rng_.Pick(kIndents);

    if (rng_.Percent(25)) {
      AppendIndent(out_, indent_, 1);
      out_ += "<!-- ";
      out_ += kModelWord;
      out_ += ": Nokia ";
      out_ += model.name;
      out_ += " -->\r\n";
    }
    AppendIndent(out_, indent_, 1);
    out_ += "<model value=\"";
    out_ += model.name;
    out_ += ' ';
    out_ += model.type;
    out_ += variant;
    out_ += "\">\r\n";

    Version version;
    version.style = static_cast<int>(rng_.Below(4));
    version.major = rng_.Between(3, 40);
    version.minor = rng_.Below(3);
    version.build = rng_.Between(1, 60);
    const std::uint32_t versions = rng_.Between(2, 6);
    for (std::uint32_t v = 0; v < versions; ++v) {
      VersionElement(model, version);
      if (rng_.Percent(30)) {
        ++version.major;
        version.build = rng_.Between(1, 20);
      } else {
        version.build += rng_.Between(1, 15);
      }
    }
    AppendIndent(out_, indent_, 1);
    out_ += "</model>\r\n";
  }

 private:
  void VersionElement(const ModelName& model, const Version& version) {
    if (rng_.Percent(15)) {
      AppendIndent(out_, indent_, 2);
      out_ += "<!-- ";
      out_ += rng_.Percent(50) ? kOldRemoved : kMirrorSites;
      out_ += " -->\r\n";
    }
    AppendIndent(out_, indent_, 2);
    out_ += "<version value=\"";
    AppendVersion(out_, version);
    out_ += "\">\r\n";
    const std::uint32_t links = rng_.Between(2, 6);
    for (std::uint32_t k = 0; k < links; ++k) {
      if (rng_.Percent(8)) LinkComment(model, version);
      Link(model, version);
    }
    AppendIndent(out_, indent_, 2);
    out_ += "</version>\r\n";
  }

  void LinkComment(const ModelName& model, const Version& version) {
    AppendIndent(out_, indent_, 3);
    out_ += "<!-- ";
    if (rng_.Percent(40)) {
      // A retired link left in place: markup and quotes inside a comment.
      out_ += "<link value=\"";
      Address(model, version);
      out_ += "\">";
      out_ += rng_.Pick(kLabels);
      out_ += "</link>";
    } else {
      out_ += kDeadLink;
    }
    out_ += " -->\r\n";
  }

  void Address(const ModelName& model, const Version& version) {
    out_ += "http://";
    out_ += rng_.Pick(kHosts);
    out_ += rng_.Pick(kPaths);
    out_ += "?id=";
    AppendNumber(out_, rng_.Between(100000, 9999999));
    out_ += "&amp;model=";
    out_ += model.type;
    out_ += "&amp;ver=";
    AppendVersion(out_, version);
    out_ += "&amp;pkg=";
    out_ += rng_.Pick(kPackages);
    if (rng_.Percent(60)) {
      out_ += "&amp;lang=";
      out_ += rng_.Pick(kLanguageCodes);
    }
    if (rng_.Percent(15)) out_ += rng_.Pick(kEscapedParameters);
  }

  void Label(const Version& version) {
    out_ += rng_.Pick(kLabels);
    const std::uint32_t shape = rng_.Below(10);
    if (shape < 3) {
      out_ += " (";
      out_ += rng_.Pick(kLanguages);
      out_ += ')';
    } else if (shape == 3) {
      out_ += ' ';
      AppendVersion(out_, version);
    } else if (shape == 4) {
      out_ += ' ';
      out_ += kSizeWord;
      out_ += ' ';
      AppendNumber(out_, rng_.Between(1, 180));
      out_ += '.';
      AppendNumber(out_, rng_.Below(10));
      out_ += "MB";
    } else if (shape == 5) {
      out_ += " &amp; ";
      out_ += rng_.Pick(kLabels);
    } else if (shape == 6) {
      out_ += " &lt;";
      out_ += kRecommended;
      out_ += "&gt;";
    }
  }

  void Link(const ModelName& model, const Version& version) {
    AppendIndent(out_, indent_, 3);
    out_ += "<link value=\"";
    Address(model, version);
    out_ += '"';
    if (rng_.Percent(5)) {
      out_ += " md5=\"";
      AppendHex(out_, rng_.Next());
      AppendHex(out_, rng_.Next());
      out_ += '"';
    }

    const std::uint32_t shape = rng_.Below(100);
    if (shape < 8) {
      out_ += "/>\r\n";
    } else if (shape < 12) {
      out_ += " />\r\n";
    } else if (shape < 16) {
      out_ += "></link>\r\n";
    } else if (shape < 20) {
      // Blank but not empty: whitespace that trimming must take away.
      out_ += ">\r\n";
      AppendIndent(out_, indent_, 3);
      out_ += "</link>\r\n";
    } else if (shape < 23) {
      out_ += "> \t </link>\r\n";
    } else if (shape < 28) {
      // A label on a line of its own, as some editors reflow long lines.
      out_ += ">\r\n";
      AppendIndent(out_, indent_, 4);
      Label(version);
      out_ += "\r\n";
      AppendIndent(out_, indent_, 3);
      out_ += "</link>\r\n";
    } else if (shape < 30) {
      out_ += '>';
      Label(version);
      out_ += "<!-- ";
      out_ += kChecksumWord;
      out_ += " -->  </link>\r\n";
    } else {
      out_ += '>';
      Label(version);
      out_ += "</link>\r\n";
    }
  }

  std::string& out_;
  Rng rng_;
  std::string_view indent_ = "\t";
};

}  // namespace

std::string GenerateCatalogue(std::size_t approximate_bytes, std::uint32_t seed) {
  std::string out;
  // One model is a few kilobytes, so the overshoot fits in this margin and the
  // buffer is never copied while it grows.
  out.reserve(approximate_bytes + 64 * 1024);
  Writer writer(out, seed);
  writer.Prologue(seed);
  constexpr std::size_t kClosingBytes = 32;
  while (out.size() + kClosingBytes < approximate_bytes)
    writer.Model();
  writer.Epilogue();
  return out;
}

}  // namespace nb::bench
