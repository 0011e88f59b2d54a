#include "dialogs/phasprop.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <cmath>
#include <cstring>
#include <memory>

#include "dialogs/editfram.h"
#include "dialogs/scripteddialogs_support.h"
#include "phasors/recalc.h"
#include "platform/cp1252.h"

namespace zeigora {
namespace {

template <class Widget>
std::string Text(const Widget* widget) {
    return ToCp1252(widget->text());
}

bool SameBytes(const TPhasor& a, const TPhasor& b) {
    return std::memcmp(&a, &b, sizeof(TPhasor)) == 0;
}

// Zeiger1 and Zeiger2 as after start, and a third phasor as "Neuer Zeiger" appends it.
TPhasorArray StartList() {
    TPhasorArray list;
    for (const char* name : {"Zeiger1", "Zeiger2", "Zeiger3"})
        list[AppendPhasor(list)].Name = name;
    list[0].Value = MakeComplex(2, -1);
    list[1].Value = MakeComplex(-1, 1);
    RecalculateAll(list);
    return list;
}

class PhasorPropertiesTest : public TScriptedDialogsTest {
  protected:
    void Open(int index = 2) {
        Form.reset();
        Form = std::make_unique<TPhasorPropertiesForm>(Phasors, index, false);
        Form->show();
        QApplication::setActiveWindow(Form.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(Form.get()));
    }
    void Type(QLineEdit* edit, const std::string& text) {
        edit->setFocus(Qt::MouseFocusReason);
        QTest::keyClicks(edit, FromCp1252(text));
    }

    TPhasorArray Phasors = StartList();
    std::unique_ptr<TPhasorPropertiesForm> Form;
};

TEST_F(PhasorPropertiesTest, LiveCheckShowsErrorsAndValuesWhileTyping) {
    Open();
    TComplexEditorFrame* frame = Form->ComplexEditorFrame;
    Type(Form->DefEdit, "Zeiger1+");
    EXPECT_EQ(Text(Form->ErrorStatusLabel), "Syntaxfehler (8): Unvollst\xE4ndiger Ausdruck");
    EXPECT_EQ(Text(frame->RealEdit), "2");  // the last value that could be computed
    // Only the typed definition is put back; the failed value stays until the next run.
    EXPECT_TRUE(Phasors[2].Definition.Empty());
    EXPECT_TRUE(std::isnan(Phasors[2].Value.Re));
    Type(Form->DefEdit, "1");
    EXPECT_EQ(Text(frame->RealEdit), "3");
}

TEST_F(PhasorPropertiesTest, ShowingFocusesByErrorCode) {
    const struct {
        const char *Name, *Definition, *Focus;
        int Caret;  // -1: not checked
        const char* Message;
    } cases[] = {
        {"Zeiger 3", "", "PhasorNameEdit", -1, "Ung\xFCltiger Zeigername"},
        {"Zeiger3", "Zeiger3+1", "DefEdit", -1, "Zirkul\xE4re Referenz in Zeiger3"},
        {"Zeiger3", "1+2j+abc*3", "DefEdit", 8, "Syntaxfehler (8): Unbekannter Zeiger"},
    };
    for (const auto& c : cases) {
        Phasors[2].Name = c.Name;
        Phasors[2].Definition = c.Definition;
        RecalculateAll(Phasors);
        Open();
        ASSERT_NE(Form->focusWidget(), nullptr);
        EXPECT_EQ(Form->focusWidget()->objectName().toStdString(), c.Focus);
        if (c.Caret >= 0) {
            EXPECT_EQ(Form->DefEdit->cursorPosition(), c.Caret);
        }
        EXPECT_EQ(Text(Form->ErrorStatusLabel), c.Message);
    }
}

TEST_F(PhasorPropertiesTest, OkWritesEveryField) {
    Dialogs.ExpectColor(0x00FF00);
    Dialogs.ExpectColor(std::nullopt);
    Open();
    Form->PhasorNameEdit->setText(QString(300, QLatin1Char('a')));
    Form->NameVisibleCheckBox->setChecked(false);
    Form->PhasorVisibleCheckBox->setChecked(false);
    QLineEdit* real = Form->ComplexEditorFrame->RealEdit;
    real->clear();
    Type(real, "5");
    QTest::keyClick(real, Qt::Key_Tab);
    QTest::mouseClick(Form->PhasorColorShape, Qt::RightButton);
    QTest::mouseClick(Form->PhasorColorShape, Qt::LeftButton);  // cancelled: the pick stays
    Form->PhasorStyleComboBox->setCurrentIndex(2);
    Form->PhasorWidthComboBox->setCurrentIndex(3);
    Form->PhasorScaleComboBox->setCurrentIndex(1);
    QTest::mouseClick(Form->OKButton, Qt::LeftButton);
    const TPhasor& p = Phasors[2];
    EXPECT_EQ(p.Name.Str(), std::string(255, 'a'));
    EXPECT_EQ(p.NameVisible, 0);
    EXPECT_DOUBLE_EQ(p.Value.Re, 5.0);
    EXPECT_DOUBLE_EQ(p.Value.Im, 1.0);
    EXPECT_EQ(p.Color, 0x00FF00u);
    EXPECT_EQ(p.Style, 2);
    EXPECT_EQ(p.Width, 4);
    EXPECT_EQ(p.Scale, 1);
    EXPECT_EQ(p.Visible, 0);
    EXPECT_TRUE(p.Definition.Empty());
}

// Escape rejects the dialog as Abbrechen does.
TEST_F(PhasorPropertiesTest, EscapeRestoresTheWholeRecord) {
    const TPhasor before = Phasors[2];
    Open();
    Type(Form->DefEdit, "Zeiger1+");
    Form->PhasorNameEdit->setText(QStringLiteral("Anders"));
    QTest::keyClick(Form->DefEdit, Qt::Key_Escape);
    EXPECT_TRUE(SameBytes(Phasors[2], before));
}

TEST_F(PhasorPropertiesTest, ValuesOutsideTheListsAreKept) {
    Phasors[2].Style = 9;
    Phasors[2].Width = 0;
    Phasors[2].Scale = 255;
    Open();
    EXPECT_FALSE(Form->grab().isNull());
    QTest::mouseClick(Form->OKButton, Qt::LeftButton);
    EXPECT_EQ(Phasors[2].Style, 9);
    EXPECT_EQ(Phasors[2].Width, 0);
    EXPECT_EQ(Phasors[2].Scale, 255);
}

TEST_F(PhasorPropertiesTest, ListReplacedWhileOpenIsLeftAlone) {
    Open(2);
    Phasors.resize(1);
    const TPhasor first = Phasors[0];
    Type(Form->DefEdit, "1+");
    QTest::mouseClick(Form->OKButton, Qt::LeftButton);
    EXPECT_TRUE(SameBytes(Phasors[0], first));

    // Opened on an index that the list has not (yet) got: Cancel writes nothing back.
    Open(3);
    while (Phasors.size() < 4)
        AppendPhasor(Phasors);
    const TPhasor grown = Phasors[3];
    QTest::mouseClick(Form->CancelButton, Qt::LeftButton);
    EXPECT_TRUE(SameBytes(Phasors[3], grown));
}

}  // namespace
}  // namespace zeigora
