#include "platform/cp1252.h"

#include "complex/cp1252text.h"

namespace zeigora {

namespace {

using cp1252::ByteToUnicode;

constexpr char Unmapped = '?';

char UnicodeToByte(char32_t cp) {
    const int byte = cp1252::UnicodeToByte(cp);
    return byte < 0 ? Unmapped : static_cast<char>(byte);
}

}  // namespace

QString FromCp1252(std::string_view text) {
    QString out(static_cast<qsizetype>(text.size()), Qt::Uninitialized);
    QChar* data = out.data();
    for (std::size_t i = 0; i < text.size(); ++i)
        data[i] = QChar(ByteToUnicode(static_cast<unsigned char>(text[i])));
    return out;
}

std::string ToCp1252(const QString& text) {
    std::string out;
    out.reserve(static_cast<std::size_t>(text.size()));
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < size && text.at(i + 1).isLowSurrogate()) {
            ++i;  // one character outside the table, one '?'
            out.push_back(Unmapped);
        } else if (c.isSurrogate()) {
            out.push_back(Unmapped);
        } else {
            out.push_back(UnicodeToByte(c.unicode()));
        }
    }
    return out;
}

}  // namespace zeigora
