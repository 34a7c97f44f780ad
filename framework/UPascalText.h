#pragma once
// Pascal strings (Mac Roman) to and from the texts of Qt widgets.

#include <QString>

#include "platform/MacTypes.h"

namespace UPascalText {

QString ToQString(ConstStr255Param text);

// Characters that Mac Roman lacks become their nearest form or "?"; the text is cut
// to 255 bytes.
void FromQString(const QString& text, Str255 out);

} // namespace UPascalText
