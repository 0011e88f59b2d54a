#include "dialogs/historykeys.h"

#include <QAbstractSpinBox>
#include <QComboBox>
#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QWidget>

namespace zeigora {

namespace {

class THistoryKeys : public QObject {
  public:
    using QObject::QObject;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::ShortcutOverride &&
            IsHistoryKey(*static_cast<QKeyEvent*>(event))) {
            // Not claimed by the field, so the window's shortcut runs.
            event->ignore();
            return true;
        }
        return QObject::eventFilter(watched, event);
    }

  private:
    static bool IsHistoryKey(const QKeyEvent& key) {
        const QKeyCombination pressed = key.keyCombination();
        return pressed == QKeyCombination(Qt::CTRL | Qt::Key_Z) ||
               pressed == QKeyCombination(Qt::CTRL | Qt::Key_Y) ||
               pressed == QKeyCombination(Qt::CTRL | Qt::SHIFT | Qt::Key_Z);
    }
};

}  // namespace

void GiveHistoryKeysToWindow(QWidget& window) {
    auto* keys = new THistoryKeys(&window);
    // Combo and spin boxes hand the keys to their field directly, past its filters.
    for (QWidget* widget : window.findChildren<QWidget*>())
        if (qobject_cast<QLineEdit*>(widget) || qobject_cast<QComboBox*>(widget) ||
            qobject_cast<QAbstractSpinBox*>(widget))
            widget->installEventFilter(keys);
}

}  // namespace zeigora
