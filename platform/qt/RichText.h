// Rich text as a rich-edit control reads and writes it: an RTF reader into QTextDocument and
// a writer from it (fonts, sizes, bold/italic/underline/strike, colours, alignment, left
// indent, bullets, \uN and \'hh in the document's code page).
#pragma once

#include <string>
#include <string_view>

class QTextDocument;
class QTextEdit;

namespace RichText {

// Replaces the document's content by the RTF text. Unknown control words and destinations
// are skipped; a damaged text gives what can be read. Text that is not RTF at all is shown
// as plain text (returns false then).
bool ReadRtf(std::string_view rtf, QTextDocument& document);

// The document as RTF, 8-bit, with non-ASCII characters as \uN (and a \'hh fallback in
// CodePage where the character maps).
std::string WriteRtf(const QTextDocument& document, int codePage = 1252);

}  // namespace RichText

// The edit's whole content as RTF, as the control streams it out (never empty: an empty
// control gives the RTF of an empty document).
void RichEditToText(QTextEdit* edit, std::string& text);
