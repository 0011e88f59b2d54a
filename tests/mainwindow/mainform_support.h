// A shown main window under scripted dialogs, with the modal windows replaced by recorders.
#pragma once

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>
#include <memory>
#include <string>
#include <vector>

#include "dialogs/paintboxwidget.h"
#include "dialogs/scripteddialogs_support.h"
#include "mainwindow/mainform.h"
#include "platform/cp1252.h"

namespace zeigora {

using Strings = std::vector<std::string>;

class MainFormTest : public TScriptedDialogsTest {
  protected:
    void SetUp() override {
        TScriptedDialogsTest::SetUp();
        Form = std::make_unique<TMainForm>();
        Form->RunPhasorDialog = [this](TPhasorArray&, int index, bool) {
            PhasorDialogCalls.push_back(index);
        };
        Form->show();
        QApplication::setActiveWindow(Form.get());
        ASSERT_TRUE(QTest::qWaitForWindowExposed(Form.get()));
    }
    void TearDown() override {
        Form.reset();
        TScriptedDialogsTest::TearDown();
    }

    template <class T = QAction>
    T* Child(const char* name) const {
        auto* child = Form->findChild<T*>(name);
        EXPECT_NE(child, nullptr) << name;
        return child;
    }
    QAction* Action(const char* name) const { return Child<QAction>(name); }
    QComboBox* Combo(const char* name) const { return Child<QComboBox>(name); }
    // Replaces the combo's text as the user types it.
    void TypeInto(const char* name, const std::string& text) {
        QLineEdit* edit = Combo(name)->lineEdit();
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Delete);
        QTest::keyClicks(edit, FromCp1252(text));
    }
    // Runs the repaint cycle now, so the mapping and the segments are those of the current list.
    void Frame() { Form->PaintBox1->repaint(); }
    Strings Names() const {
        Strings names;
        for (const TPhasor& p : Form->Phasors)
            names.push_back(p.Name.Str());
        return names;
    }
    // The menu items and the buttons of the phasor commands agree.
    bool PhasorCommandsEnabled() const {
        int enabled = 0;
        for (const char* name : {"EditPhasor", "DuplicatePhasor", "DeletePhasor",
                                 "EditPhasorButton", "DuplicatePhasorButton", "DeletePhasorButton"})
            enabled += Action(name)->isEnabled() ? 1 : 0;
        EXPECT_TRUE(enabled == 0 || enabled == 6) << "menu items and buttons disagree";
        return enabled == 6;
    }
    bool IsRed(const char* combo) const {
        return Combo(combo)->lineEdit()->palette().color(QPalette::Base) == QColor(255, 0, 0);
    }
    std::string ComboText(const char* combo) const { return ToCp1252(Combo(combo)->currentText()); }

    std::unique_ptr<TMainForm> Form;
    std::vector<int> PhasorDialogCalls;  // the index each properties dialog was opened for
};

}  // namespace zeigora
