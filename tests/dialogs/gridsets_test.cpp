#include "dialogs/gridsets.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QGroupBox>
#include <QLineEdit>
#include <QTest>
#include <cmath>
#include <memory>

#include "dialogs/scripteddialogs_support.h"

namespace zeigora {
namespace {

auto Fields(const TPlaneSettings& s) {
    return std::tie(s.GridColor, s.GridStyle, s.SubGridColor, s.SubGridStyle, s.AxisColor,
                    s.AxisStyle, s.ShowNumbers, s.Accuracy, s.SafetySpace, s.MarkLength,
                    s.BackGroundColor, s.ReLabel, s.ImLabel, s.AutoValues, s.MarginFactor, s.Scale1,
                    s.GridVisible);
}

class GridSettingsTest : public TScriptedDialogsTest {
  protected:
    void Open() {
        Form.reset();
        Form = std::make_unique<TGridSettingsForm>(Settings);
        Form->show();
        QApplication::setActiveWindow(Form.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(Form.get()));
    }
    template <typename T = QWidget>
    T* Find(const char* name) {
        T* widget = Form->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    void Click(const char* name) { QTest::mouseClick(Find(name), Qt::LeftButton); }
    // Types into a spin edit as the user does, replacing its text.
    void Type(const char* spinEdit, const char* text) {
        auto* edit = Find<TSpinEdit>(spinEdit);
        edit->setFocus(Qt::MouseFocusReason);
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Delete);
        QTest::keyClicks(edit, QString::fromLatin1(text));
    }

    TPlaneSettings Settings;
    std::unique_ptr<TGridSettingsForm> Form;
};

TEST_F(GridSettingsTest, OkWithoutChangesAndCancelAfterChangesKeepTheSettings) {
    TPlaneSettings custom;
    custom.GridColor = 0x123456;
    custom.GridStyle = 3;
    custom.SubGridStyle = 1;
    custom.ShowNumbers = false;
    custom.Accuracy = 5;
    custom.SafetySpace = 0;
    custom.MarkLength = 8;
    custom.ReLabel = "\xC4u\xDF";
    custom.ImLabel = "";
    custom.AutoValues = false;
    custom.MarginFactor = 2.0;
    Settings = custom;
    Open();
    Click("OKButton");
    EXPECT_EQ(Fields(Settings), Fields(custom));
    // Abbrechen after changes keeps the settings.
    Dialogs.ExpectColor(0x00FF00);
    Open();
    Click("BackGroundColorShape");
    Type("SafetyFactorSpinEdit", "25");
    Click("CancelButton");
    EXPECT_EQ(Fields(Settings), Fields(custom));
}

TEST_F(GridSettingsTest, MarginPercentGivesTheFactor) {
    // 0 % and 50 % and more would leave no inner plane; the margin stays within 1..49, and
    // an empty edit reads as its minimum 1.
    const std::pair<const char*, double> cases[] = {
        {"10", 1.25}, {"0", 100.0 / 98.0}, {"", 100.0 / 98.0}, {"60", 50.0}};
    for (const auto& [typed, factor] : cases) {
        Open();
        Type("SafetyFactorSpinEdit", typed);
        Click("OKButton");
        EXPECT_DOUBLE_EQ(Settings.MarginFactor, factor) << typed;
    }
    const std::pair<double, int> percents[] = {
        {1.25, 10}, {1.0, 1}, {1000.0, 49}, {-3.0, 49}, {std::nan(""), 10}};
    for (const auto& [factor, percent] : percents)
        EXPECT_EQ(MarginPercent(factor), percent) << factor;
}

// A spin edit's value is the integer in its text; text that is none reads as the edit's minimum
// (0 where the buttons have no limits). Six digits fit.
TEST_F(GridSettingsTest, SpinEditTextGivesTheValue) {
    const struct {
        const char* Edit;
        const char* Typed;
        std::int32_t TPlaneSettings::*Field;
        int Expected;
    } cases[] = {
        {"SafetySpaceSpinEdit", "999999", &TPlaneSettings::SafetySpace, 999999},
        {"AccuracySpinEdit", "", &TPlaneSettings::Accuracy, 0},
        {"SafetySpaceSpinEdit", "-", &TPlaneSettings::SafetySpace, 0},
        {"AccuracySpinEdit", "12", &TPlaneSettings::Accuracy, 12},
    };
    for (const auto& c : cases) {
        Settings.Accuracy = 5;
        Settings.SafetySpace = 7;
        Open();
        Type(c.Edit, c.Typed);
        EXPECT_EQ(Find<TSpinEdit>(c.Edit)->text().toStdString(), c.Typed);
        Click("OKButton");
        EXPECT_EQ(Settings.*c.Field, c.Expected) << c.Edit << " '" << c.Typed << "'";
    }
}

// Every field shows its content: no control overlaps another or its group's frame, the spin
// edits show six digits and the name edits "Imaginär".
TEST_F(GridSettingsTest, LayoutShowsEveryField) {
    Open();
    for (const QGroupBox* group : Form->findChildren<QGroupBox*>()) {
        // Clear of the group's frame line.
        const QRect inside = group->rect().adjusted(4, 4, -4, -4);
        const auto controls = group->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
        for (const QWidget* a : controls) {
            EXPECT_TRUE(inside.contains(a->geometry())) << a->objectName().toStdString();
            for (const QWidget* b : controls) {
                if (a == b) continue;
                EXPECT_FALSE(a->geometry().intersects(b->geometry()))
                    << a->objectName().toStdString() << " " << b->objectName().toStdString();
            }
        }
    }
    // The text's width and the edit's frame and inner margins.
    const auto fits = [](const QLineEdit* edit, const QString& text) {
        return edit->fontMetrics().horizontalAdvance(text) + 8 <= edit->width();
    };
    for (const char* name : {"AccuracySpinEdit", "SafetySpaceSpinEdit", "SafetyFactorSpinEdit"})
        EXPECT_TRUE(fits(Find<TSpinEdit>(name)->findChild<QLineEdit*>(), "999999")) << name;
    for (const char* name : {"ReLabelEdit", "ImLabelEdit"})
        EXPECT_TRUE(fits(Find<QLineEdit>(name), QStringLiteral("Imaginär"))) << name;
}

}  // namespace
}  // namespace zeigora
