#include "dialogs/editfram.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <cmath>
#include <memory>

#include "dialogs/scripteddialogs_support.h"
#include "platform/cp1252.h"

namespace zeigora {
namespace {

template <class Widget>
std::string Text(const Widget* widget) {
    return ToCp1252(widget->text());
}

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
        EXPECT_EQ(Text(Frame->CompForm), c.Components);
        if (c.Phase) {
            EXPECT_EQ(Text(Frame->PhasEdit), c.Phase) << c.Components;
        }
        if (c.Polar) {
            EXPECT_EQ(Text(Frame->PolarForm), c.Polar) << c.Components;
        }
    }
}

TEST_F(EditorFrameTest, TypedNumbersAreTakenOverWhenLeft) {
    TypeAndLeave(Frame->PhasEdit, "90");
    EXPECT_NEAR(Frame->GetValue().Re, 0, 1e-15);
    EXPECT_DOUBLE_EQ(Frame->GetValue().Im, std::sqrt(5.0));
    EXPECT_EQ(Text(Frame->CompForm), "0 + 2,236j");
    TypeAndLeave(Frame->RealEdit, "1,5k");
    TypeAndLeave(Frame->ImgEdit, "25\xB5");
    EXPECT_EQ(Frame->GetValue().Re, 1500);
    EXPECT_DOUBLE_EQ(Frame->GetValue().Im, 25e-6);
    EXPECT_EQ(Text(Frame->RealEdit), "1,5k");
}

TEST_F(EditorFrameTest, UnreadableImaginaryPartMakesTheValueInvalidUntilRepaired) {
    // Red while typing; the value waits until the edit is left.
    Frame->ImgEdit->setText(QStringLiteral("abc"));
    EXPECT_TRUE(IsMarkedInvalid(*Frame->ImgEdit));
    EXPECT_EQ(Frame->GetValue().Im, 2);
    TypeAndLeave(Frame->ImgEdit, "abc");
    const TComplex v = Frame->GetValue();
    EXPECT_EQ(v.Re, 1);
    EXPECT_TRUE(std::isnan(v.Im) && std::isnan(v.Abs) && std::isnan(v.Phase));
    EXPECT_EQ(Text(Frame->PolarForm), "Ung\xFCltig");
    // A valid imaginary part repairs it; a magnitude cannot, the phase being NaN.
    TypeAndLeave(Frame->ImgEdit, "2");
    EXPECT_EQ(Text(Frame->CompForm), "1 + 2j");
    EXPECT_FALSE(IsMarkedInvalid(*Frame->AbsEdit));
    TypeAndLeave(Frame->ImgEdit, "abc");
    TypeAndLeave(Frame->AbsEdit, "3");
    EXPECT_TRUE(std::isnan(Frame->GetValue().Im));
    EXPECT_TRUE(IsMarkedInvalid(*Frame->AbsEdit));
}

TEST_F(EditorFrameTest, ReadOnlyFrameIgnoresLeftEdits) {
    Frame->SetReadOnly(true);
    Frame->RealEdit->setFocus(Qt::MouseFocusReason);
    Frame->RealEdit->setText(QStringLiteral("7"));
    QTest::keyClick(Frame->RealEdit, Qt::Key_Tab);
    EXPECT_EQ(Frame->GetValue().Re, 1);
    EXPECT_EQ(Text(Frame->RealEdit), "7");
}

}  // namespace
}  // namespace zeigora
