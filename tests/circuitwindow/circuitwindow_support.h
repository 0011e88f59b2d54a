#pragma once
// The circuit window shown under scripted dialogs, the questions it asks and the typing the
// circuit window tests share.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <cmath>
#include <functional>
#include <memory>
#include <string>

#include "circuitwindow/circuitc.h"
#include "circuitwindow/elemprop.h"
#include "circuitwindow/linklabel.h"
#include "dialogs/paintboxwidget.h"
#include "dialogs/scripteddialogs_support.h"
#include "platform/cp1252.h"
#include "support/filebytes.h"
#include "support/modaldialog.h"

namespace zeigora::test {

inline const std::string DeleteQuestion =
    "Sind Sie sicher, dass Sie dieses Bauteil / diese Bauteilgruppe l\xF6schen m\xF6\x63hten?";
inline const std::string MemberDeleteQuestion =
    "Sind Sie sicher, dass Sie dieses Element / diese Bauteilgruppe l\xF6schen m\xF6\x63hten?";
inline const std::string DeleteAllQuestion =
    "Wenn Sie fortfahren wird die komplette Schaltung gel\xF6scht. Sind Sie sicher, dass Sie "
    "fortfahren m\xF6\x63hten?";
inline const std::string OpenQuestion =
    "Wenn Sie fortfahren wird die aktuelle Schaltung gel\xF6scht. Sind Sie sicher, dass Sie "
    "fortfahren m\xF6\x63hten?";
inline const std::string OuterGroupRefusal =
    "Sie k\xF6nnen die \xE4u\xDF"
    "erste Bauteilgruppe nicht l\xF6schen!";
inline const std::string LastMemberText =
    "In einer Gruppe muss sich mindestens ein Element befinden. Daher k\xF6nnen Sie dieses "
    "Element nicht l\xF6schen.";
// "Rückgängig" in UTF-8, as Qt gives captions back.
inline const std::string UndoCaption =
    "R\xC3\xBC"
    "ckg\xC3\xA4ngig";

// Replaces the edit's text key by key, as the user types it.
inline void TypeInto(QLineEdit* edit, const std::string& text) {
    edit->setFocus(Qt::MouseFocusReason);
    edit->selectAll();
    QTest::keyClicks(edit, FromCp1252(text));
}
inline std::string TextOf(const QLineEdit* edit) {
    return ToCp1252(edit->text());
}
inline bool Near(const TComplex& value, double re, double im, double tolerance) {
    return std::fabs(value.Re - re) <= tolerance && std::fabs(value.Im - im) <= tolerance;
}
inline std::string Entries(const QListWidget* list) {
    std::string text;
    for (int i = 0; i < list->count(); ++i)
        text += (i ? "," : "") + ToCp1252(list->item(i)->text());
    return text;
}

// The circuit calculation window with the default circuit, shown and active.
class TCircuitWindowTest : public TScriptedDialogsTest {
  protected:
    void SetUp() override {
        TScriptedDialogsTest::SetUp();
        Window = std::make_unique<TCircuitCalculationForm>(Phasors, [this] { ++Changes; });
        Window->show();
        QApplication::setActiveWindow(Window.get());
        ASSERT_TRUE(QTest::qWaitForWindowExposed(Window.get()));
    }
    void TearDown() override {
        Window.reset();
        TScriptedDialogsTest::TearDown();
    }

    void Press(QPoint p) { QTest::mousePress(Window->PaintBox, Qt::LeftButton, {}, p); }
    TCustomCircuitElement* Child(int index) const { return Window->OuterGroup->Items(index); }
    std::string Path(const char* name) const { return Folder.filePath(name).toStdString(); }
    void Answer(TDialogKind kind, const char* file) {
        Dialogs.ExpectFile(kind, TFileChoice{Path(file), 1});
    }
    // Runs the element dialog the button opens; inside it, what `inside` does.
    static void WithElementDialog(QToolButton* button,
                                  const std::function<void(TElementPropertiesForm&)>& inside) {
        WhenModal<TElementPropertiesForm>(inside);
        button->click();
    }

    TPhasorArray Phasors;
    int Changes = 0;  // phasors handed over to the main window
    std::unique_ptr<TCircuitCalculationForm> Window;
    QTemporaryDir Folder;
};

}  // namespace zeigora::test
