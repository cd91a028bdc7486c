// The self-drawn label that leads to the primary server's home page.
#pragma once

#include <QString>
#include <QWidget>
#include <functional>
#include <string_view>

class QMouseEvent;
class QPaintEvent;

namespace nb::shell {

class HomePageLabel final : public QWidget {
  Q_OBJECT

 public:
  // `text`: code-page-936 bytes, drawn in one line in RGB(128, 128, 255).
  HomePageLabel(std::string_view text, QWidget* parent);

  // Runs on a press of the left button (not on its release), also while
  // the rest of the window is disabled.
  void SetPressHandler(std::function<void()> handler);
  QString Text() const;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  QString text_;
  std::function<void()> press_handler_;
};

}  // namespace nb::shell
