// Build tool: writes TextIds.h, a named constant for every text of english.ini,
// and EnglishTexts.cpp, the English texts themselves, so a damaged install
// still speaks. A text's name is the ";@ Name" line above it, so rewording a
// text keeps its name and the code that uses it.
//   tarvane-mktextids english.ini TextIds.h EnglishTexts.cpp
#include <cctype>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <map>
#include <set>
#include <sstream>
#include <string>

namespace {

bool IsName(const std::string& s) {
    if (s.empty() || !std::isupper(static_cast<unsigned char>(s[0]))) return false;
    for (char c : s)
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '_') return false;
    return true;
}

// The text as a comment: no line breaks, no "*/" or trailing backslash to end it early.
std::string CommentText(std::string text) {
    for (char& c : text)
        if (c == '\r' || c == '\n' || c == '\\') c = ' ';
    return text;
}

// A C++ string literal holding exactly the bytes of the text.
std::string Literal(const std::string& text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\') out += '\\';
        out += c;
    }
    return out + "\"";
}

// Rewritten only when it changes, so an edit of a comment elsewhere rebuilds nothing.
bool WriteIfChanged(const std::string& path, const std::string& text) {
    std::ifstream old(path);
    std::ostringstream before;
    before << old.rdbuf();
    if (old && before.str() == text) return true;
    std::ofstream file(path, std::ios::trunc);
    file << text;
    return static_cast<bool>(file.flush());
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::cerr << "usage: tarvane-mktextids english.ini TextIds.h EnglishTexts.cpp\n";
        return 2;
    }
    std::ifstream in(argv[1]);
    if (!in) {
        std::cerr << argv[1] << ": cannot be read\n";
        return 1;
    }
    std::ostringstream out;
    out << "#pragma once\n// Generated from english.ini by tarvane-mktextids: do not edit.\n"
           "#include \"state/lang/TextId.h\"\n\nnamespace tarvane::txt {\n";
    std::map<int, std::string> texts;
    std::set<std::string> names;
    std::string line, pending, section;
    int lineNo = 0, pendingLine = 0, errors = 0;
    auto fail = [&](int at, const std::string& what) {
        std::cerr << argv[1] << ":" << at << ": " << what << "\n";
        ++errors;
    };
    while (std::getline(in, line)) {
        ++lineNo;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.rfind(";@ ", 0) == 0) {
            if (!pending.empty()) fail(pendingLine, "name " + pending + " has no text below it");
            pending = line.substr(3);
            pendingLine = lineNo;
            if (!IsName(pending))
                fail(lineNo, "'" + pending + "' is not a name (letters and digits, first upper case)");
            if (!names.insert(pending).second) fail(lineNo, "name " + pending + " is used twice");
            continue;
        }
        if (!line.empty() && line[0] == '[') {
            section = line;
            out << "\n// " << section << "\n";
            continue;
        }
        const size_t eq = line.find('=');
        if (line.empty() || line[0] == ';' || eq == std::string::npos || eq == 0) continue;
        const std::string id = line.substr(0, eq);
        if (id.find_first_not_of("0123456789") != std::string::npos) continue;
        texts[std::stoi(id)] = line.substr(eq + 1);
        if (pending.empty()) {
            fail(lineNo, "text " + id + " has no ';@ Name' line above it");
            continue;
        }
        out << "inline constexpr TextId k" << pending << "{" << id << "}; // "
            << CommentText(line.substr(eq + 1)) << "\n";
        pending.clear();
    }
    if (!pending.empty()) fail(pendingLine, "name " + pending + " has no text below it");
    out << "\n} // namespace tarvane::txt\n";
    if (errors) return 1;
    std::ostringstream english;
    english << "// Generated from english.ini by tarvane-mktextids: do not edit.\n"
               "#include \"state/lang/EnglishTexts.h\"\n\n#include <algorithm>\n#include <iterator>\n\n"
               "namespace tarvane {\nnamespace {\n\nstruct Entry {\n    int32_t id;\n    const char* "
               "text;\n};\n\n"
               "// Ascending by id.\nconstexpr Entry kTexts[] = {\n";
    for (const auto& [id, text] : texts)
        english << "    {" << id << ", " << Literal(text) << "},\n";
    english << "};\n\n} // namespace\n\nconst char* EnglishText(int32_t id) {\n"
               "    const auto* at = std::lower_bound(std::begin(kTexts), std::end(kTexts), id,\n"
               "                                      [](const Entry& e, int32_t v) { return e.id < v; });\n"
               "    return at != std::end(kTexts) && at->id == id ? at->text : \"\";\n}\n\n} // namespace "
               "tarvane\n";
    return WriteIfChanged(argv[2], out.str()) && WriteIfChanged(argv[3], english.str()) ? 0 : 1;
}
