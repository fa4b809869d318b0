#include "widgets/style.h"

#include <QApplication>
#include <QPainter>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QStyleOption>

namespace {

class ProgramStyle : public QProxyStyle {
 public:
  ProgramStyle() : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion"))) {}

  int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                QStyleHintReturn* returnData) const override {
    // The open list goes below the box rather than over it, so that its height can be bounded.
    if (hint == SH_ComboBox_Popup) return 0;
    return QProxyStyle::styleHint(hint, option, widget, returnData);
  }

  void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override {
    if (element == PE_FrameGroupBox) {
      // The whole inside of a group box is white, with a thin grey frame.
      painter->save();
      painter->fillRect(option->rect, Qt::white);
      painter->setPen(QColor(160, 160, 160));
      painter->drawRect(option->rect.adjusted(0, 0, -1, -1));
      painter->restore();
      return;
    }
    QProxyStyle::drawPrimitive(element, option, painter, widget);
  }
};

}  // namespace

void useProgramStyle() {
  QApplication::setStyle(new ProgramStyle);
}
