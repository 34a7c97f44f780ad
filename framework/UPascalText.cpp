#include "framework/UPascalText.h"

#include "platform/MacRoman.h"

namespace UPascalText {

QString ToQString(ConstStr255Param text)
{
    if (text == nullptr)
        return {};
    return QString::fromStdString(UTF8FromMacRoman(Str255View(text)));
}

void FromQString(const QString& text, Str255 out)
{
    // Composed first: Mac Roman holds accented letters whole, never their combining marks.
    const QByteArray utf8 = text.normalized(QString::NormalizationForm_C).toUtf8();
    TextToStr255(MacRomanFromText(std::string_view(utf8.constData(), std::size_t(utf8.size()))), out);
}

} // namespace UPascalText
