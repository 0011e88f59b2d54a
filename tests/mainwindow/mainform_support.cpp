#include "mainform_support.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>

#include "dialogs/paintboxwidget.h"
#include "platform/cp1252.h"

namespace zeigora {

void MainFormTest::SetUp() {
    TScriptedDialogsTest::SetUp();
    Form = std::make_unique<TMainForm>();
    Form->RunPhasorDialog = [this](TPhasorArray&, int index, bool) {
        PhasorDialogCalls.push_back(index);
    };
    Form->show();
    QApplication::setActiveWindow(Form.get());
    ASSERT_TRUE(QTest::qWaitForWindowExposed(Form.get()));
}

void MainFormTest::TearDown() {
    Form.reset();
    TScriptedDialogsTest::TearDown();
}

QAction* MainFormTest::Action(const char* name) const {
    auto* action = Form->findChild<QAction*>(name);
    EXPECT_NE(action, nullptr) << name;
    return action;
}

QComboBox* MainFormTest::Combo(const char* name) const {
    auto* combo = Form->findChild<QComboBox*>(name);
    EXPECT_NE(combo, nullptr) << name;
    return combo;
}

void MainFormTest::TypeInto(const char* name, const std::string& text) {
    QLineEdit* edit = Combo(name)->lineEdit();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, FromCp1252(text));
}

void MainFormTest::Frame() {
    Form->PaintBox1->repaint();
}

std::vector<std::string> MainFormTest::Names() const {
    std::vector<std::string> names;
    for (const TPhasor& p : Form->Phasors)
        names.push_back(p.Name.Str());
    return names;
}

bool MainFormTest::PhasorCommandsEnabled() const {
    const char* names[] = {"EditPhasor",       "DuplicatePhasor",       "DeletePhasor",
                           "EditPhasorButton", "DuplicatePhasorButton", "DeletePhasorButton"};
    int enabled = 0;
    for (const char* name : names)
        enabled += Action(name)->isEnabled() ? 1 : 0;
    EXPECT_TRUE(enabled == 0 || enabled == 6) << "menu items and buttons disagree";
    return enabled == 6;
}

bool MainFormTest::IsRed(const char* combo) const {
    return Combo(combo)->lineEdit()->palette().color(QPalette::Base) == QColor(255, 0, 0);
}

std::string MainFormTest::ComboText(const char* combo) const {
    return ToCp1252(Combo(combo)->currentText());
}

}  // namespace zeigora
