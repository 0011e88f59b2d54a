#include "dialogs/qtuserdialogs.h"

#include <QApplication>
#include <QColorDialog>
#include <QDesktopServices>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPushButton>
#include <QUrl>

#include "complex/cp1252text.h"
#include "platform/cp1252.h"

namespace zeigora {

namespace {

QWidget* DialogParent() {
    return QApplication::activeWindow();
}

void ShowBox(QMessageBox::Icon icon, const QString& title, const std::string& text) {
    QMessageBox box(icon, title, FromCp1252(text), QMessageBox::Ok, DialogParent());
    box.setTextFormat(Qt::PlainText);  // messages name files, which may look like markup
    box.button(QMessageBox::Ok)->setText(QStringLiteral("OK"));
    box.exec();
}

QString WithoutShownPatterns(const std::string& description) {
    QString text = FromCp1252(description).trimmed();
    if (text.endsWith(u')')) {
        const qsizetype open = text.lastIndexOf(u'(');
        if (open >= 0) text = text.left(open).trimmed();
    }
    return text;
}

struct TFileDialogRequest {
    std::string Title;
    std::string Filters;
    std::string DefaultExt;
    bool Save = false;
    bool AskOverwrite = false;
};

QString DefaultTitle(bool save) {
    return save ? QStringLiteral("Speichern unter") : FromCp1252("Öffnen"_cp);
}

std::optional<TFileChoice> RunFileDialog(const TFileDialogRequest& request) {
    const TFileFilterArray filters = ParseFileFilters(request.Filters);
    const QStringList names = QtNameFilters(filters);
    const QString title =
        request.Title.empty() ? DefaultTitle(request.Save) : FromCp1252(request.Title);
    QFileDialog dialog(DialogParent(), title);
    dialog.setAcceptMode(request.Save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(request.Save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.AskOverwrite);
    if (!names.isEmpty()) dialog.setNameFilters(names);
    // A typed name without extension gets the one of the filter in use, so that choosing the
    // metafile filter and typing "Bild" gives "Bild.emf", not "Bild.bmp".
    const auto suffixFor = [&](qsizetype index) {
        if (index < 0 || index >= qsizetype(filters.size())) {
            return FromCp1252(BareExtension(request.DefaultExt));
        }
        return FromCp1252(SuffixForFilter(filters[std::size_t(index)], request.DefaultExt));
    };
    dialog.setDefaultSuffix(suffixFor(0));
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&](const QString& name) {
        dialog.setDefaultSuffix(suffixFor(names.indexOf(name)));
    });
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    const qsizetype index = names.indexOf(dialog.selectedNameFilter());
    return TFileChoice{QFile::encodeName(dialog.selectedFiles().first()).toStdString(),
                       index < 0 ? 1 : int(index) + 1};
}

}  // namespace

QStringList QtNameFilters(const TFileFilterArray& filters) {
    QStringList names;
    for (const TFileFilter& filter : filters) {
        QStringList patterns;
        for (const std::string& pattern : filter.Patterns)
            patterns << FromCp1252(pattern);
        if (patterns.isEmpty()) patterns << QStringLiteral("*");
        names << WithoutShownPatterns(filter.Description) + QStringLiteral(" (") +
                     patterns.join(u' ') + u')';
    }
    return names;
}

void TQtUserDialogs::ShowError(const std::string& text) {
    ShowBox(QMessageBox::Critical, QStringLiteral("Fehler"), text);
}

void TQtUserDialogs::ShowWarning(const std::string& text) {
    ShowBox(QMessageBox::Warning, QStringLiteral("Warnung"), text);
}

void TQtUserDialogs::ShowInformation(const std::string& text) {
    ShowBox(QMessageBox::NoIcon, QApplication::applicationDisplayName(), text);
}

bool TQtUserDialogs::AskYesNo(const std::string& text, TQuestionIcon icon) {
    const bool warning = icon == TQuestionIcon::Warning;
    QMessageBox box(warning ? QMessageBox::Warning : QMessageBox::Question,
                    warning ? QStringLiteral("Warnung") : FromCp1252("Bestätigen"_cp),
                    FromCp1252(text), QMessageBox::Yes | QMessageBox::No, DialogParent());
    box.setTextFormat(Qt::PlainText);
    box.button(QMessageBox::Yes)->setText(QStringLiteral("Ja"));
    box.button(QMessageBox::No)->setText(QStringLiteral("Nein"));
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

std::optional<TFileChoice> TQtUserDialogs::GetOpenFileName(const std::string& title,
                                                           const std::string& filters,
                                                           const std::string& defaultExt) {
    return RunFileDialog({title, filters, defaultExt, false, false});
}

std::optional<TFileChoice> TQtUserDialogs::GetSaveFileName(const std::string& title,
                                                           const std::string& filters,
                                                           const std::string& defaultExt,
                                                           bool askOverwrite) {
    return RunFileDialog({title, filters, defaultExt, true, askOverwrite});
}

std::optional<std::uint32_t> TQtUserDialogs::PickColor(std::uint32_t initial) {
    const QColor start(int(initial & 0xFF), int((initial >> 8) & 0xFF),
                       int((initial >> 16) & 0xFF));
    const QColor chosen = QColorDialog::getColor(start, DialogParent(), QStringLiteral("Farbe"));
    if (!chosen.isValid()) return std::nullopt;
    return std::uint32_t(chosen.red()) | std::uint32_t(chosen.green()) << 8 |
           std::uint32_t(chosen.blue()) << 16;
}

std::optional<std::string> TQtUserDialogs::InputBox(const std::string& caption,
                                                    const std::string& prompt,
                                                    const std::string& defaultText) {
    QInputDialog dialog(DialogParent());
    dialog.setWindowTitle(FromCp1252(caption));
    dialog.setLabelText(FromCp1252(prompt));
    for (QLabel* label : dialog.findChildren<QLabel*>())
        label->setTextFormat(Qt::PlainText);
    dialog.setTextValue(FromCp1252(defaultText));
    dialog.setOkButtonText(QStringLiteral("OK"));
    dialog.setCancelButtonText(QStringLiteral("Abbrechen"));
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return ToCp1252(dialog.textValue());
}

bool TQtUserDialogs::PrintDialog(QPrinter& printer) {
    QPrintDialog dialog(&printer, DialogParent());
    return dialog.exec() == QDialog::Accepted;
}

bool TQtUserDialogs::OpenDocument(const std::string& path) {
    // The desktop opener reports success for files that do not exist and fails later, out of
    // our sight; a missing document must be reported here.
    const QFileInfo info(QFile::decodeName(QByteArray::fromStdString(path)));
    if (!info.isFile()) return false;
    return QDesktopServices::openUrl(QUrl::fromLocalFile(info.absoluteFilePath()));
}

}  // namespace zeigora
