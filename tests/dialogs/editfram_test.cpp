#include "dialogs/editfram.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>
#include <cmath>
#include <memory>

#include "dialogs/scripteddialogs_support.h"
#include "platform/cp1252.h"

namespace zeigora {
namespace {

class EditorFrameTest : public TScriptedDialogsTest {
  protected:
    void SetUp() override {
        TScriptedDialogsTest::SetUp();
        Frame->show();
        QApplication::setActiveWindow(Frame.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(Frame.get()));
        Frame->InitValue();
    }

    // Types into an edit as the user does (replacing its text) and leaves it with Tab.
    void TypeAndLeave(QLineEdit* edit, const std::string& text) {
        edit->setFocus(Qt::MouseFocusReason);
        edit->selectAll();
        QTest::keyClicks(edit, FromCp1252(text));
        QTest::keyClick(edit, Qt::Key_Tab);
    }

    std::unique_ptr<TComplexEditorFrame> Frame = std::make_unique<TComplexEditorFrame>();
};

TEST_F(EditorFrameTest, SummariesFollowTheValue) {
    const double nan = std::nan("");
    const struct {
        double Re, Im;
        bool Degrees;
        const char* Phase;  // nullptr: not checked
        const char* Components;
        const char* Polar;  // nullptr: not checked
    } cases[] = {
        {1, -2, true, "296,6", "1 - 2j", "2,236068 e^ j296,6\xB0"},
        {5, 1e-13, true, "0n", "5", "5 e^ j0n\xB0"},
        {0, 1, false, "1,57", "0 + 1j", "1 e^ j1,57"},
        {1, nan, true, "NaN", "Ung\xFCltig", "Ung\xFCltig"},
        // An infinite part shows as "INF" without sign; no character of it may be cut off.
        {1, -INFINITY, true, nullptr, "1 - INFj", nullptr},
    };
    for (const auto& c : cases) {
        QTest::mouseClick(c.Degrees ? Frame->Grad : Frame->rad, Qt::LeftButton);
        Frame->SetValue(MakeComplex(c.Re, c.Im));
        EXPECT_EQ(ToCp1252(Frame->CompForm->text()), c.Components);
        if (c.Phase) {
            EXPECT_EQ(ToCp1252(Frame->PhasEdit->text()), c.Phase) << c.Components;
        }
        if (c.Polar) {
            EXPECT_EQ(ToCp1252(Frame->PolarForm->text()), c.Polar) << c.Components;
        }
    }
}

// A magnitude cannot repair the invalid value, the phase being NaN.
TEST_F(EditorFrameTest, UnreadableImaginaryPartMakesTheValueInvalid) {
    TypeAndLeave(Frame->ImgEdit, "abc");
    const TComplex v = Frame->GetValue();
    EXPECT_EQ(v.Re, 1);
    EXPECT_TRUE(std::isnan(v.Im) && std::isnan(v.Abs) && std::isnan(v.Phase));
    TypeAndLeave(Frame->AbsEdit, "3");
    EXPECT_TRUE(std::isnan(Frame->GetValue().Im));
    EXPECT_TRUE(IsMarkedInvalid(*Frame->AbsEdit));
}

// Passing through the fields takes nothing over: the rounded display text would make the value
// drift (2 - 1j became 1,999 - 1,001j after one round of Tab).
TEST_F(EditorFrameTest, PassingThroughTheFieldsKeepsTheValue) {
    const TComplex start = MakeComplex(2.0, -1.0);
    for (QRadioButton* mode : {Frame->Grad, Frame->rad}) {
        QTest::mouseClick(mode, Qt::LeftButton);
        Frame->SetValue(start);
        for (int pass = 0; pass < 2; ++pass) {
            Frame->RealEdit->setFocus(Qt::MouseFocusReason);
            for (int i = 0; i < 9; ++i)
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            Frame->PhasEdit->setFocus(Qt::MouseFocusReason);
            Frame->AbsEdit->setFocus(Qt::MouseFocusReason);
            QTest::keyClick(Frame->AbsEdit, Qt::Key_Return);
        }
        const TComplex v = Frame->GetValue();
        EXPECT_EQ(std::tie(v.Re, v.Im, v.Abs, v.Phase),
                  std::tie(start.Re, start.Im, start.Abs, start.Phase));
    }
    // A typed text is taken over even when it reads as what was shown.
    TypeAndLeave(Frame->RealEdit, "2");
    EXPECT_EQ(Frame->GetValue().Re, 2.0);
    TypeAndLeave(Frame->AbsEdit, "2,236068");
    EXPECT_EQ(Frame->GetValue().Abs, 2.236068);
}

}  // namespace
}  // namespace zeigora
