#include "dialogs/phasprop.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
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
        edit->end(false);
        QTest::keyClicks(edit, FromCp1252(text));
    }

    TPhasorArray Phasors = StartList();
    std::unique_ptr<TPhasorPropertiesForm> Form;
};

TEST_F(PhasorPropertiesTest, LiveCheckShowsErrorsAndValuesWhileTyping) {
    Open();
    Type(Form->DefEdit, "Zeiger1+");
    EXPECT_EQ(ToCp1252(Form->ErrorStatusLabel->text()),
              "Syntaxfehler (8): Unvollst\xE4ndiger Ausdruck");
    EXPECT_EQ(ToCp1252(Form->ComplexEditorFrame->RealEdit->text()),
              "2");  // the last value that could be computed
    // Only the typed definition is put back; the failed value stays until the next run.
    EXPECT_TRUE(Phasors[2].Definition.Empty());
    EXPECT_TRUE(std::isnan(Phasors[2].Value.Re));
}

// Name and definition take at most 255 characters: a longer definition would be evaluated
// cut while the edit showed it whole.
TEST_F(PhasorPropertiesTest, OkWritesTheFields) {
    Open();
    Form->PhasorNameEdit->clear();
    Type(Form->PhasorNameEdit, std::string(300, 'a'));
    std::string sum = "1";
    for (int i = 0; i < 150; ++i)
        sum += "+1";
    Type(Form->DefEdit, sum);
    EXPECT_EQ(Form->DefEdit->text().size(), 255);
    EXPECT_EQ(ToCp1252(Form->ComplexEditorFrame->RealEdit->text()), "128");
    Form->PhasorWidthComboBox->setCurrentIndex(3);
    QTest::mouseClick(Form->OKButton, Qt::LeftButton);
    const TPhasor& p = Phasors[2];
    EXPECT_EQ(p.Name.Str(), std::string(255, 'a'));
    EXPECT_EQ(p.Width, 4);
    EXPECT_EQ(p.Definition.Str(), sum.substr(0, 255));
}

// Tab stops on the chosen one of rad and Grad and then leaves the pair.
TEST_F(PhasorPropertiesTest, TabStopsOnTheCheckedUnit) {
    Open();
    const TComplexEditorFrame* frame = Form->ComplexEditorFrame;
    for (QRadioButton* unit : {frame->Grad, frame->rad}) {
        unit->setChecked(true);
        frame->ConjButton2->setFocus(Qt::TabFocusReason);
        QTest::keyClick(frame->ConjButton2, Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), unit) << unit->text().toStdString();
        QTest::keyClick(unit, Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), Form->PhasorStyleComboBox);
    }
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
