#pragma once
// How instopts shows one record: its type's name and its value, as a line of
// text or as a JSON object.

#include <string>

#include "options/options_library.h"

namespace instopts {

std::string TypeName(const OptionRecordView& record);
// Integers signed, texts as stored (up to their zero byte), byte blocks and
// anything unknown as hexadecimal.
std::string ValueText(const OptionRecordView& record);
std::string RecordLine(const OptionRecordView& record);
std::string RecordJson(const OptionRecordView& record);

}  // namespace instopts
