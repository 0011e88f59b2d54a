#include "dialogs/qtuserdialogs.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>

#include "platform/cp1252.h"

namespace zeigora {
namespace {

// Acts on the modal dialog once it is open; the dialog's own loop runs the timer.
template <typename Dialog>
void WhenOpen(std::function<void(Dialog*)> act) {
    QTimer::singleShot(0, [act] {
        auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        act(dialog);
    });
}

std::string ButtonTexts(QMessageBox* box) {
    std::string texts;
    for (QAbstractButton* button : box->buttons())
        texts += ToCp1252(button->text()) + "|";
    return texts;
}

TEST(QtUserDialogsTest, MessageBoxesSpeakGerman) {
    TQtUserDialogs dialogs;
    WhenOpen<QMessageBox>([](QMessageBox* box) {
        EXPECT_EQ(box->icon(), QMessageBox::Critical);
        EXPECT_EQ(ToCp1252(box->text()), "Kein Zeiger ausgew\xE4hlt.");
        EXPECT_EQ(ButtonTexts(box), "OK|");
        box->button(QMessageBox::Ok)->click();
    });
    dialogs.ShowError("Kein Zeiger ausgew\xE4hlt.");

    const std::pair<QMessageBox::StandardButton, bool> answers[] = {{QMessageBox::Yes, true},
                                                                    {QMessageBox::No, false}};
    for (const auto& [button, proceeds] : answers) {
        WhenOpen<QMessageBox>([button = button](QMessageBox* box) {
            EXPECT_EQ(box->icon(), QMessageBox::Question);
            EXPECT_EQ(ToCp1252(box->button(QMessageBox::Yes)->text()), "Ja");
            EXPECT_EQ(ToCp1252(box->button(QMessageBox::No)->text()), "Nein");
            box->button(button)->click();
        });
        EXPECT_EQ(dialogs.AskYesNo("Fortfahren?", TQuestionIcon::Question), proceeds);
    }
}

TEST(QtUserDialogsTest, SavedNameGetsTheExtensionOfTheChosenFilter) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString typed = folder.filePath(QStringLiteral("Bild"));
    WhenOpen<QFileDialog>([typed](QFileDialog* dialog) {
        auto* types = dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
        ASSERT_NE(types, nullptr);
        types->setCurrentIndex(1);
        // What a user's choice in the list emits.
        emit types->activated(1);
        emit types->textActivated(types->itemText(1));
        dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(typed);
        QMetaObject::invokeMethod(dialog, "accept");
    });
    const auto choice = TQtUserDialogs().GetSaveFileName(
        "", "Bitmaps (*.bmp)|*.bmp|Enhanced Metafiles (*.emf)|*.emf", "*.bmp", true);
    ASSERT_TRUE(choice.has_value());
    EXPECT_EQ(choice->FilterIndex, 2);
    EXPECT_EQ(choice->FileName, (typed + QStringLiteral(".emf")).toStdString());
}

TEST(FileFiltersTest, ClassicPairsBecomeQtFilters) {
    const TFileFilterArray filters =
        ParseFileFilters("Bitmaps (*.bmp)|*.bmp|Enhanced Metafiles (*.emf)|*.emf");
    ASSERT_EQ(filters.size(), 2u);
    EXPECT_EQ(filters[1].Description, "Enhanced Metafiles (*.emf)");
    EXPECT_EQ(filters[1].Patterns, std::vector<std::string>{"*.emf"});
    const QStringList names = QtNameFilters(filters);
    EXPECT_EQ(names, QStringList({"Bitmaps (*.bmp)", "Enhanced Metafiles (*.emf)"}));

    // Several patterns, a description without them, and a lone trailing description.
    const TFileFilterArray mixed = ParseFileFilters("Bilder|*.bmp; *.emf|Rest");
    ASSERT_EQ(mixed.size(), 1u);
    EXPECT_EQ(QtNameFilters(mixed), QStringList({"Bilder (*.bmp *.emf)"}));
    EXPECT_TRUE(ParseFileFilters("").empty());
}

TEST(FileFiltersTest, TypedNamesGetTheExtensionOfTheirFilter) {
    const std::pair<const char*, const char*> defaults[] = {
        {"*.zgf", "zgf"}, {".zgs", "zgs"}, {"bmp", "bmp"}, {"*.*", ""}, {"", ""}};
    for (const auto& [given, bare] : defaults)
        EXPECT_EQ(BareExtension(given), bare) << given;
    const TFileFilterArray filters =
        ParseFileFilters("Bitmaps (*.bmp)|*.bmp|Enhanced Metafiles (*.emf)|*.emf|Alle|*.*");
    EXPECT_EQ(SuffixForFilter(filters[0], "*.bmp"), "bmp");
    EXPECT_EQ(SuffixForFilter(filters[1], "*.bmp"), "emf");
    EXPECT_EQ(SuffixForFilter(filters[2], "*.bmp"), "bmp");
}

}  // namespace
}  // namespace zeigora
