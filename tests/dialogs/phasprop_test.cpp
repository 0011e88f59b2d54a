#include "dialogs/phasprop.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QStyleOptionViewItem>
#include <QTest>
#include <QTimer>
#include <cmath>
#include <cstring>
#include <memory>
#include <string>

#include "dialogs/editfram.h"
#include "dialogs/scripteddialogs_support.h"
#include "phasors/recalc.h"
#include "platform/cp1252.h"

namespace zeigora {
namespace {

const char* const IncompleteText = "Syntaxfehler (8): Unvollst\xE4ndiger Ausdruck";

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
    list[0].Color = 0x0000FF;
    list[0].Value = MakeComplex(2, -1);
    list[1].Color = 0xFF0000;
    list[1].Value = MakeComplex(-1, 1);
    RecalculateAll(list);
    return list;
}

class PhasorPropertiesTest : public TScriptedDialogsTest {
  protected:
    void SetUp() override {
        TScriptedDialogsTest::SetUp();
        Phasors = StartList();
    }
    void TearDown() override {
        Form.reset();
        TScriptedDialogsTest::TearDown();
    }

    void Open(int index = 2, bool rootsMode = false) {
        Form.reset();
        Form = std::make_unique<TPhasorPropertiesForm>(Phasors, index, rootsMode);
        Form->show();
        QApplication::setActiveWindow(Form.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(Form.get()));
    }
    void Type(QLineEdit* edit, const std::string& text) {
        edit->setFocus(Qt::MouseFocusReason);
        QTest::keyClicks(edit, FromCp1252(text));
    }
    void Clear(QLineEdit* edit) {
        edit->setFocus(Qt::MouseFocusReason);
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Backspace);
    }

    TPhasorArray Phasors;
    std::unique_ptr<TPhasorPropertiesForm> Form;
};

TEST_F(PhasorPropertiesTest, LiveCheckShowsErrorsAndValuesWhileTyping) {
    Open();
    TComplexEditorFrame* frame = Form->ComplexEditorFrame;
    EXPECT_EQ(Text(frame->RealEdit), "2");
    EXPECT_FALSE(frame->RealEdit->isReadOnly());

    Type(Form->DefEdit, "Zeiger1");
    EXPECT_EQ(Text(Form->ErrorStatusLabel), "");
    EXPECT_EQ(Text(frame->ImgEdit), "-1");
    EXPECT_TRUE(frame->RealEdit->isReadOnly());
    EXPECT_FALSE(frame->ConjButton1->isEnabled());

    Type(Form->DefEdit, "+");
    EXPECT_EQ(Text(Form->ErrorStatusLabel), IncompleteText);
    EXPECT_EQ(Text(frame->RealEdit), "2");  // the last value that could be computed
    EXPECT_EQ(Text(frame->ImgEdit), "-1");
    // Only the typed definition is put back; the failed value stays until the next run.
    EXPECT_TRUE(Phasors[2].Definition.Empty());
    EXPECT_TRUE(std::isnan(Phasors[2].Value.Re));

    Type(Form->DefEdit, "1");
    EXPECT_EQ(Text(Form->ErrorStatusLabel), "");
    EXPECT_EQ(Text(frame->RealEdit), "3");

    Clear(Form->DefEdit);
    EXPECT_FALSE(frame->RealEdit->isReadOnly());
    EXPECT_TRUE(frame->ConjButton1->isEnabled());
}

struct TShowCase {
    const char* Name;
    const char* Definition;
    const char* Focus;
    int Caret;  // -1: not checked
    const char* Message;
};

TEST_F(PhasorPropertiesTest, ShowingFocusesByErrorCode) {
    const TShowCase cases[] = {
        {"Zeiger3", "", "PhasorVisibleCheckBox", -1, ""},
        {"Zeiger 3", "", "PhasorNameEdit", -1, "Ung\xFCltiger Zeigername"},
        {"Zeiger3", "Zeiger1+", "DefEdit", 8, IncompleteText},
        {"Zeiger3", "1+2j+", "DefEdit", 5, "Syntaxfehler (5): Unvollst\xE4ndiger Ausdruck"},
        {"Zeiger3", "Zeiger3+1", "DefEdit", -1, "Zirkul\xE4re Referenz in Zeiger3"},
        {"Zeiger3", ")", "DefEdit", 0, nullptr},
        {"Zeiger3", "1+2j+abc*3", "DefEdit", 8, "Syntaxfehler (8): Unbekannter Zeiger"},
    };
    for (const TShowCase& c : cases) {
        SCOPED_TRACE(std::string(c.Name) + " = " + c.Definition);
        Form.reset();  // before the list it refers to goes
        Phasors = StartList();
        Phasors[2].Name = c.Name;
        Phasors[2].Definition = c.Definition;
        RecalculateAll(Phasors);
        Open();
        ASSERT_NE(Form->focusWidget(), nullptr);
        EXPECT_EQ(Form->focusWidget()->objectName().toStdString(), c.Focus);
        if (c.Caret >= 0) {
            EXPECT_EQ(Form->DefEdit->cursorPosition(), c.Caret);
        }
        if (c.Message != nullptr) {
            EXPECT_EQ(Text(Form->ErrorStatusLabel), c.Message);
        }
        EXPECT_EQ(Text(Form->DefEdit), c.Definition);
    }
}

// The way the main window runs it: modally, closed with Enter in a number.
TEST_F(PhasorPropertiesTest, RunsModally) {
    TPhasorPropertiesForm form(Phasors, 2, false);
    QTimer::singleShot(0, &form, [&] {
        QLineEdit* real = form.ComplexEditorFrame->RealEdit;
        real->setFocus(Qt::MouseFocusReason);
        real->selectAll();
        QTest::keyClicks(real, QStringLiteral("7"));
        QTest::keyClick(real, Qt::Key_Return);
    });
    EXPECT_EQ(form.exec(), QDialog::Accepted);
    EXPECT_DOUBLE_EQ(Phasors[2].Value.Re, 7.0);
}

TEST_F(PhasorPropertiesTest, OkWritesEveryField) {
    Dialogs.ExpectColor(0x00FF00);
    Open();
    Form->PhasorNameEdit->setText(QString(300, QLatin1Char('a')));
    Form->NameVisibleCheckBox->setChecked(false);
    Form->PhasorVisibleCheckBox->setChecked(false);
    QLineEdit* real = Form->ComplexEditorFrame->RealEdit;
    Clear(real);
    Type(real, "5");
    QTest::keyClick(real, Qt::Key_Tab);
    QTest::mouseClick(Form->PhasorColorShape, Qt::LeftButton);
    Form->PhasorStyleComboBox->setCurrentIndex(2);
    Form->PhasorWidthComboBox->setCurrentIndex(3);
    Form->PhasorScaleComboBox->setCurrentIndex(1);
    QTest::mouseClick(Form->OKButton, Qt::LeftButton);

    EXPECT_EQ(Form->result(), QDialog::Accepted);
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

TEST_F(PhasorPropertiesTest, CancelRestoresTheWholeRecord) {
    for (const bool escape : {false, true}) {
        SCOPED_TRACE(escape ? "Escape" : "Abbrechen");
        Form.reset();  // before the list it refers to goes
        Phasors = StartList();
        const TPhasor before = Phasors[2];
        Open();
        Type(Form->DefEdit, "Zeiger1+");
        Form->PhasorNameEdit->setText(QStringLiteral("Anders"));
        ASSERT_TRUE(std::isnan(Phasors[2].Value.Re));
        if (escape)
            QTest::keyClick(Form->DefEdit, Qt::Key_Escape);
        else
            QTest::mouseClick(Form->CancelButton, Qt::LeftButton);
        EXPECT_EQ(Form->result(), QDialog::Rejected);
        EXPECT_TRUE(SameBytes(Phasors[2], before));
    }
}

TEST_F(PhasorPropertiesTest, RootsModeLocksTheScale) {
    for (const bool roots : {true, false}) {
        Open(2, roots);
        EXPECT_EQ(Form->PhasorScaleComboBox->isEnabled(), !roots);
    }
}

TEST_F(PhasorPropertiesTest, ValuesOutsideTheListsAreKept) {
    struct TCase {
        std::uint8_t Style, Width, Scale;
    };
    for (const TCase c : {TCase{9, 0, 7}, TCase{255, 200, 255}, TCase{4, 5, 2}}) {
        SCOPED_TRACE(int(c.Width));
        Form.reset();  // before the list it refers to goes
        Phasors = StartList();
        Phasors[2].Style = c.Style;
        Phasors[2].Width = c.Width;
        Phasors[2].Scale = c.Scale;
        Open();
        EXPECT_EQ(Form->PhasorStyleComboBox->currentIndex(), -1);
        EXPECT_EQ(Form->PhasorWidthComboBox->currentIndex(), -1);
        EXPECT_EQ(Form->PhasorScaleComboBox->currentIndex(), -1);
        EXPECT_FALSE(Form->grab().isNull());
        QTest::mouseClick(Form->OKButton, Qt::LeftButton);
        EXPECT_EQ(Phasors[2].Style, c.Style);
        EXPECT_EQ(Phasors[2].Width, c.Width);
        EXPECT_EQ(Phasors[2].Scale, c.Scale);
    }
}

// One item of an owner-drawn list as the opened list draws it.
QImage ListItem(QComboBox* list, int row) {
    QImage image(60, 16, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::black);
    QPainter painter(&image);
    QStyleOptionViewItem option;
    option.rect = QRect(0, 0, 60, 16);
    list->itemDelegate()->paint(&painter, option, list->model()->index(row, 0));
    return image;
}

TEST_F(PhasorPropertiesTest, PickedColourIsShownInBothLists) {
    Dialogs.ExpectColor(0x00FF00);
    Dialogs.ExpectColor(std::nullopt);
    Open();
    EXPECT_EQ(ListItem(Form->PhasorStyleComboBox, 0).pixel(30, 8), qRgb(0, 0, 0));

    QTest::mouseClick(Form->PhasorColorShape, Qt::RightButton);
    EXPECT_EQ(Form->ShapeColor(), 0x00FF00u);
    const QImage style = ListItem(Form->PhasorStyleComboBox, 0);
    EXPECT_EQ(style.pixel(30, 8), qRgb(0, 255, 0));
    EXPECT_EQ(style.pixel(30, 2), qRgb(255, 255, 255));
    EXPECT_EQ(ListItem(Form->PhasorWidthComboBox, 3).pixel(30, 8), qRgb(0, 255, 0));

    QTest::mouseClick(Form->PhasorColorShape, Qt::LeftButton);  // cancelled
    EXPECT_EQ(Form->ShapeColor(), 0x00FF00u);
}

TEST_F(PhasorPropertiesTest, ListReplacedWhileOpenIsLeftAlone) {
    Open(2);
    Phasors.resize(1);
    const TPhasor first = Phasors[0];
    Type(Form->DefEdit, "1+");
    QTest::mouseClick(Form->OKButton, Qt::LeftButton);
    ASSERT_EQ(Phasors.size(), 1u);
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
