#pragma once
// How instopts shows one record, as a line of text or as a JSON object, and
// reads a record back from such an object (a recipe line).

#include <cstdint>
#include <string>

#include "instopts/code_page_text.h"
#include "options/options_library.h"

namespace instopts {

// "string", "integer", "bytes", or "type N" with N unsigned.
std::string TypeName(const OptionRecordView& record);
// A text's bytes up to its zero byte (all of them without one).
std::string TextBytes(const OptionRecordView& record);
// An integer signed; a byte block's bytes, or anything else's whole value
// field, in hexadecimal. Texts are the caller's: they need a code page.
std::string NonTextValue(const OptionRecordView& record);
// UTF-8 text with its control characters written \n, \t or \xNN, so a
// record stays on one line.
std::string EscapeControls(const std::string& text);

// "name = value  [type, L=length]", names and texts decoded and escaped.
std::string RecordLine(const OptionRecordView& record, const CodePageText& codePage);
// One JSON object from which ParseRecipeLine rebuilds the record exactly:
// name, type, value and length, and the name's bytes as "nameField" or the
// whole value field as "valueField" (hexadecimal) when the name or the value
// alone would rebuild them differently.
std::string RecordJson(const OptionRecordView& record, const CodePageText& codePage);

// A record as a recipe gives it: the name's bytes, the type and the whole
// value field (its size is L).
struct RecipeRecord {
    std::string name;
    std::uint32_t type = 0;
    std::string valueField;
};

// Reads one recipe line; false with `error` saying what is wrong with it.
bool ParseRecipeLine(const std::string& line, const CodePageText& codePage, RecipeRecord& record, std::string& error);

}  // namespace instopts
