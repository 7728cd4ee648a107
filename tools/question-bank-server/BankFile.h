#pragma once
// Reading a bank file: one JSON object per line, one question per object. Blank lines and lines
// whose first non-blank character is "#" are skipped. Fields:
//   id           a positive whole number, unique in the file (required)
//   type         "single", "multiple", "truefalse" or "fill" (required)
//   subject      text (required)
//   question     text, not empty, without "<br>", "<em>" or "</em>" (required)
//   options      a list of texts; required and not empty for "single" and "multiple"
//   answer       text, not empty (required)
//   explanation  text (optional)
// Any other field is an error, so that a misspelt field name is not silently lost.

#include "Question.h"

#include <istream>
#include <string>
#include <string_view>
#include <vector>

namespace ql::qbank {

struct BankFileResult {
    std::vector<Question> questions;  // in file order; meaningful when error is empty
    std::string error;                // "<source>:<line>: <reason>" or "<source>: <reason>"
};

BankFileResult parseBank(std::istream& input, std::string_view sourceName);

BankFileResult readBankFile(const std::string& path);

}  // namespace ql::qbank
