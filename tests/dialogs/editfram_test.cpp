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

const double Sqrt5 = std::sqrt(5.0);

template <class Widget>
std::string Text(const Widget* widget) {
    return ToCp1252(widget->text());
}

class EditorFrameTest : public TScriptedDialogsTest {
  protected:
    void SetUp() override {
        TScriptedDialogsTest::SetUp();
        Frame = std::make_unique<TComplexEditorFrame>();
        Frame->show();
        QApplication::setActiveWindow(Frame.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(Frame.get()));
        Frame->InitValue();
    }
    void TearDown() override {
        Frame.reset();
        TScriptedDialogsTest::TearDown();
    }

    // Types into an edit as the user does (replacing its text) and leaves it with Tab.
    void TypeAndLeave(QLineEdit* edit, const std::string& text) {
        Type(edit, text);
        QTest::keyClick(edit, Qt::Key_Tab);
    }
    void Type(QLineEdit* edit, const std::string& text) {
        edit->setFocus(Qt::MouseFocusReason);
        edit->selectAll();
        QTest::keyClicks(edit, FromCp1252(text));
    }

    std::unique_ptr<TComplexEditorFrame> Frame;
};

TEST_F(EditorFrameTest, SummariesFollowTheValue) {
    EXPECT_EQ(Text(Frame->AbsEdit), "2,236068");
    EXPECT_EQ(Frame->width(), 329);
    const double nan = std::nan("");
    const struct {
        double Re, Im;
        bool Degrees;
        const char* Phase;  // nullptr: not checked
        const char* Components;
        const char* Polar;  // nullptr: not checked
    } cases[] = {
        {1, 2, true, "63,4", "1 + 2j", "2,236068 e^ j63,4\xB0"},
        {1, -2, true, "296,6", "1 - 2j", "2,236068 e^ j296,6\xB0"},
        {5, 1e-13, true, "0n", "5", "5 e^ j0n\xB0"},
        {0, 1, false, "1,57", "0 + 1j", "1 e^ j1,57"},
        {0, 1, true, "90", "0 + 1j", "1 e^ j90\xB0"},
        {1, -0.25, true, "346", "1 - 250mj", "1,030776 e^ j346\xB0"},
        {1, nan, true, "NaN", "Ung\xFCltig", "Ung\xFCltig"},
        // An infinite part shows as "INF" without sign; no character of it may be cut off.
        {1, -INFINITY, true, nullptr, "1 - INFj", nullptr},
    };
    for (const auto& c : cases) {
        QTest::mouseClick(c.Degrees ? Frame->Grad : Frame->rad, Qt::LeftButton);
        Frame->SetValue(MakeComplex(c.Re, c.Im));
        EXPECT_EQ(Text(Frame->CompForm), c.Components);
        if (c.Phase) EXPECT_EQ(Text(Frame->PhasEdit), c.Phase) << c.Components;
        if (c.Polar) EXPECT_EQ(Text(Frame->PolarForm), c.Polar) << c.Components;
    }
    // Switching the unit changes only the display.
    Frame->SetValue(MakeComplex(0, 1));
    QTest::mouseClick(Frame->rad, Qt::LeftButton);
    EXPECT_EQ(Text(Frame->PhasEdit), "1,57");
    EXPECT_DOUBLE_EQ(Frame->GetValue().Phase, M_PI / 2);
}

TEST_F(EditorFrameTest, TypedNumbersAreTakenOverWhenLeft) {
    TypeAndLeave(Frame->PhasEdit, "90");
    EXPECT_NEAR(Frame->GetValue().Re, 0, 1e-15);
    EXPECT_DOUBLE_EQ(Frame->GetValue().Im, Sqrt5);
    EXPECT_EQ(Text(Frame->PhasEdit), "90");
    EXPECT_EQ(Text(Frame->CompForm), "0 + 2,236j");

    Frame->InitValue();
    TypeAndLeave(Frame->RealEdit, "1,5k");
    EXPECT_EQ(Frame->GetValue().Re, 1500);
    EXPECT_EQ(Text(Frame->RealEdit), "1,5k");
    EXPECT_EQ(Text(Frame->CompForm), "1,5k + 2j");
    TypeAndLeave(Frame->ImgEdit, "25\xB5");
    EXPECT_DOUBLE_EQ(Frame->GetValue().Im, 25e-6);

    // Enter takes the number over without leaving.
    Frame->InitValue();
    Type(Frame->AbsEdit, "10");
    QTest::keyClick(Frame->AbsEdit, Qt::Key_Return);
    EXPECT_TRUE(Frame->AbsEdit->hasFocus());
    EXPECT_DOUBLE_EQ(Frame->GetValue().Abs, 10);
    EXPECT_DOUBLE_EQ(Frame->GetValue().Re, 10 / Sqrt5);
}

TEST_F(EditorFrameTest, UnreadableTextIsRedWhileTypingAndValueWaits) {
    Type(Frame->RealEdit, "1,5x");
    EXPECT_TRUE(IsMarkedInvalid(*Frame->RealEdit));
    EXPECT_EQ(Frame->GetValue().Re, 1);
    QTest::keyClick(Frame->RealEdit, Qt::Key_Backspace);
    EXPECT_FALSE(IsMarkedInvalid(*Frame->RealEdit));
    EXPECT_EQ(Frame->GetValue().Re, 1);
    for (const char* text : {"", "-", "k", "1.5", "1,5 k", "NaN"}) {
        Frame->RealEdit->setText(FromCp1252(text));
        EXPECT_EQ(IsMarkedInvalid(*Frame->RealEdit), std::string(text) != "1,5 k") << text;
    }
}

TEST_F(EditorFrameTest, UnreadableImaginaryPartMakesTheValueInvalid) {
    TypeAndLeave(Frame->ImgEdit, "abc");
    const TComplex v = Frame->GetValue();
    EXPECT_EQ(v.Re, 1);
    EXPECT_TRUE(std::isnan(v.Im) && std::isnan(v.Abs) && std::isnan(v.Phase));
    EXPECT_EQ(Text(Frame->ImgEdit), "NaN");
    EXPECT_EQ(Text(Frame->AbsEdit), "NaN");
    EXPECT_EQ(Text(Frame->PhasEdit), "NaN");
    EXPECT_TRUE(IsMarkedInvalid(*Frame->ImgEdit));
    EXPECT_TRUE(IsMarkedInvalid(*Frame->AbsEdit));
    EXPECT_FALSE(IsMarkedInvalid(*Frame->RealEdit));
    EXPECT_EQ(Text(Frame->CompForm), "Ung\xFCltig");
    EXPECT_EQ(Text(Frame->PolarForm), "Ung\xFCltig");

    // A valid imaginary part repairs it, Re being kept; a magnitude cannot, the phase being NaN.
    TypeAndLeave(Frame->ImgEdit, "2");
    EXPECT_EQ(Frame->GetValue().Re, 1);
    EXPECT_EQ(Frame->GetValue().Im, 2);
    EXPECT_EQ(Text(Frame->CompForm), "1 + 2j");
    EXPECT_FALSE(IsMarkedInvalid(*Frame->ImgEdit));
    EXPECT_FALSE(IsMarkedInvalid(*Frame->AbsEdit));
    TypeAndLeave(Frame->ImgEdit, "abc");
    TypeAndLeave(Frame->AbsEdit, "3");
    EXPECT_TRUE(std::isnan(Frame->GetValue().Im));
    EXPECT_TRUE(IsMarkedInvalid(*Frame->AbsEdit));
    EXPECT_EQ(Text(Frame->CompForm), "Ung\xFCltig");
}

TEST_F(EditorFrameTest, UnreadableRealPartKeepsTheSummaries) {
    TypeAndLeave(Frame->RealEdit, "abc");
    EXPECT_TRUE(std::isnan(Frame->GetValue().Re));
    EXPECT_EQ(Text(Frame->RealEdit), "NaN");
    EXPECT_EQ(Text(Frame->CompForm), "NaN + 2j");
    // The edit that was left turns white as long as the imaginary part is valid.
    EXPECT_FALSE(IsMarkedInvalid(*Frame->RealEdit));
}

TEST_F(EditorFrameTest, ConjugationButtonsMirrorTheValue) {
    QTest::mouseClick(Frame->ConjButton1, Qt::LeftButton);
    // Computed in polar form, so the real part may come back a hair below 1.
    EXPECT_DOUBLE_EQ(Frame->GetValue().Im, -2);
    EXPECT_TRUE(Text(Frame->CompForm).ends_with(" - 2j")) << Text(Frame->CompForm);
    EXPECT_EQ(Text(Frame->PhasEdit), "296,6");
    QTest::mouseClick(Frame->ConjButton2, Qt::LeftButton);
    EXPECT_DOUBLE_EQ(Frame->GetValue().Im, 2);
    EXPECT_TRUE(Text(Frame->CompForm).ends_with(" + 2j")) << Text(Frame->CompForm);
}

TEST_F(EditorFrameTest, ReadOnlyFrameIgnoresLeftEdits) {
    Frame->SetReadOnly(true);
    EXPECT_FALSE(Frame->ConjButton1->isEnabled());
    EXPECT_FALSE(Frame->ConjButton2->isEnabled());
    EXPECT_TRUE(Frame->rad->isEnabled() && Frame->Grad->isEnabled());
    Frame->RealEdit->setFocus(Qt::MouseFocusReason);
    Frame->RealEdit->setText(QStringLiteral("7"));
    QTest::keyClick(Frame->RealEdit, Qt::Key_Return);
    QTest::keyClick(Frame->RealEdit, Qt::Key_Tab);
    EXPECT_EQ(Frame->GetValue().Re, 1);
    EXPECT_EQ(Text(Frame->RealEdit), "7");

    Frame->SetReadOnly(false);
    EXPECT_TRUE(Frame->ConjButton1->isEnabled());
    TypeAndLeave(Frame->RealEdit, "7");
    EXPECT_EQ(Frame->GetValue().Re, 7);
}

TEST_F(EditorFrameTest, HostChangeHandlerReplacesTheMarking) {
    int changes = 0;
    Frame->SetChangeHandler([&] { ++changes; });
    Frame->RealEdit->setText(QStringLiteral("x"));
    EXPECT_EQ(changes, 1);
    EXPECT_FALSE(IsMarkedInvalid(*Frame->RealEdit));
    // Leaving rewrites all four edits, and each rewrite that changes a text reaches the host.
    QTest::keyClick(Frame->RealEdit, Qt::Key_Return);
    EXPECT_TRUE(std::isnan(Frame->GetValue().Re));
    EXPECT_GE(changes, 2);
}

}  // namespace
}  // namespace zeigora
