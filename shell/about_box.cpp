#include "about_box.h"

#include <QMessageBox>
#include <QString>

#include "byte_text.h"
#include "nb/system_texts.h"

// Q_INIT_RESOURCE declares a function of its own, so it stands outside any namespace.
static void InitialiseResources() {
  Q_INIT_RESOURCE(resources);
}

namespace nb::shell {

void ShowAboutBox() {
  // No parent: the box belongs to no window, and application modality blocks
  // every window of the program while it is open.
  QMessageBox box(QMessageBox::Information, DecodeCp936(nb::texts::kAboutCaption),
                  DecodeCp936(nb::texts::kAboutText), QMessageBox::Ok);
  box.setWindowModality(Qt::ApplicationModal);
  box.exec();
}

QIcon ApplicationIcon() {
  // Resources compiled into a static library are registered only on request.
  InitialiseResources();
  return QIcon(QStringLiteral(":/nokia-browser.png"));
}

}  // namespace nb::shell
