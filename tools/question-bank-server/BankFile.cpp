#include "BankFile.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include <tuple>
#include <unordered_set>

namespace ql::qbank {

namespace {

using nlohmann::json;

constexpr std::array questionTypes{"single", "multiple", "truefalse", "fill"};
constexpr std::array knownFields{"id",       "type",   "subject",    "question",
                                 "options",  "answer", "explanation"};
// The search reply uses these to separate rows and mark matches.
constexpr std::array replyMarkers{"<br>", "<em>", "</em>"};

std::string asciiLower(std::string_view text)
{
    std::string lower(text);
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return lower;
}

bool isSkipped(std::string_view line)
{
    const auto first = line.find_first_not_of(" \t");
    return first == std::string_view::npos || line[first] == '#';
}

// Reads a text field into out; returns the reason it cannot, or empty.
std::string readText(const json& object, const char* field, bool required, std::string& out)
{
    const auto it = object.find(field);
    if (it == object.end())
        return required ? std::string("missing field \"") + field + "\"" : std::string();
    if (!it->is_string())
        return std::string("field \"") + field + "\" must be a string";
    out = it->get<std::string>();
    return {};
}

std::string readQuestion(const json& object, Question& q)
{
    for (const auto& [key, value] : object.items()) {
        if (std::find(knownFields.begin(), knownFields.end(), key) == knownFields.end())
            return "unknown field \"" + key + "\"";
    }
    const auto id = object.find("id");
    if (id == object.end())
        return "missing field \"id\"";
    if (!id->is_number_integer() || id->get<std::int64_t>() <= 0)
        return "field \"id\" must be a positive whole number";
    q.id = id->get<std::int64_t>();

    for (const auto& [field, required, out] :
         {std::tuple<const char*, bool, std::string*>{"type", true, &q.type},
          {"subject", true, &q.subject},
          {"question", true, &q.question},
          {"answer", true, &q.answer},
          {"explanation", false, &q.explanation}}) {
        if (std::string reason = readText(object, field, required, *out); !reason.empty())
            return reason;
    }
    if (std::find(questionTypes.begin(), questionTypes.end(), q.type) == questionTypes.end())
        return "field \"type\" must be one of single, multiple, truefalse, fill";
    if (q.question.empty())
        return "field \"question\" is empty";
    if (q.answer.empty())
        return "field \"answer\" is empty";
    const std::string lowerQuestion = asciiLower(q.question);
    for (const char* marker : replyMarkers)
        if (lowerQuestion.find(marker) != std::string::npos)
            return std::string("field \"question\" must not contain ") + marker;

    if (const auto options = object.find("options"); options != object.end()) {
        if (!options->is_array())
            return "field \"options\" must be a list of strings";
        for (const auto& option : *options) {
            if (!option.is_string())
                return "field \"options\" must be a list of strings";
            q.options.push_back(option.get<std::string>());
        }
    }
    if ((q.type == "single" || q.type == "multiple") && q.options.empty())
        return "a " + q.type + " question needs \"options\"";
    return {};
}

}  // namespace

BankFileResult parseBank(std::istream& input, std::string_view sourceName)
{
    BankFileResult result;
    std::unordered_set<std::int64_t> seenIds;
    std::string line;
    const auto fail = [&](std::size_t lineNumber, const std::string& reason) {
        return BankFileResult{{}, std::string(sourceName) + ":" + std::to_string(lineNumber) + ": "
                                      + reason};
    };
    for (std::size_t lineNumber = 1; std::getline(input, line); ++lineNumber) {
        if (line.ends_with('\r'))
            line.pop_back();
        if (lineNumber == 1 && line.starts_with("\xEF\xBB\xBF"))  // UTF-8 byte order mark
            line.erase(0, 3);
        if (isSkipped(line))
            continue;
        // Without a callback and with exceptions off, a parse error gives a "discarded" value.
        const json object = json::parse(line, nullptr, false);
        if (object.is_discarded())
            return fail(lineNumber, "not valid JSON (or not valid UTF-8)");
        if (!object.is_object())
            return fail(lineNumber, "expected one JSON object per line");
        Question q;
        if (std::string reason = readQuestion(object, q); !reason.empty())
            return fail(lineNumber, reason);
        if (!seenIds.insert(q.id).second)
            return fail(lineNumber, "duplicate id " + std::to_string(q.id));
        result.questions.push_back(std::move(q));
    }
    if (input.bad())
        return {{}, std::string(sourceName) + ": read error"};
    return result;
}

BankFileResult readBankFile(const std::string& path)
{
    std::error_code ignored;
    // A directory opens like a file here and then reads as empty.
    if (std::filesystem::is_directory(path, ignored))
        return {{}, path + ": is a directory, not a bank file"};
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return {{}, path + ": cannot open the bank file"};
    return parseBank(file, path);
}

}  // namespace ql::qbank
