// Writes the plain text of an RTF document, so that the program ships its
// licence agreement in both forms from the one source. It knows what that
// document uses: paragraphs, groups, control words, \'hh and \uN escapes,
// and destination groups (font table and the like) to leave out.
//   rtf_to_text INPUT.rtf OUTPUT.txt
#include <cctype>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

void appendUtf8(std::string& out, unsigned long code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

bool isDestination(const std::string& word) {
    for (const char* skipped : {"fonttbl", "colortbl", "stylesheet", "info", "pict", "*"}) {
        if (word == skipped)
            return true;
    }
    return false;
}

std::string plainText(const std::string& rtf) {
    std::string out;
    std::vector<bool> skipping{false};
    int skipAfterUnicode = 0;
    for (size_t i = 0; i < rtf.size(); ++i) {
        const char c = rtf[i];
        if (c == '{') {
            skipping.push_back(skipping.back());
        } else if (c == '}') {
            if (skipping.size() > 1)
                skipping.pop_back();
        } else if (c == '\\' && i + 1 < rtf.size()) {
            const char next = rtf[i + 1];
            if (next == '\\' || next == '{' || next == '}') {
                if (!skipping.back())
                    out += next;
                ++i;
            } else if (next == '\'' && i + 3 < rtf.size()) {
                const unsigned long code = std::stoul(rtf.substr(i + 2, 2), nullptr, 16);
                if (skipAfterUnicode > 0)
                    --skipAfterUnicode;
                else if (!skipping.back())
                    appendUtf8(out, code); // Windows-1252 and Latin-1 agree from 0xA0 up
                i += 3;
            } else if (next == '*') {
                skipping.back() = true;
                ++i;
            } else {
                size_t end = i + 1;
                while (end < rtf.size() && std::isalpha(static_cast<unsigned char>(rtf[end])))
                    ++end;
                const std::string word = rtf.substr(i + 1, end - i - 1);
                size_t numberEnd = end;
                if (numberEnd < rtf.size() && rtf[numberEnd] == '-')
                    ++numberEnd;
                while (numberEnd < rtf.size() &&
                       std::isdigit(static_cast<unsigned char>(rtf[numberEnd])))
                    ++numberEnd;
                const std::string number = rtf.substr(end, numberEnd - end);
                if (numberEnd < rtf.size() && rtf[numberEnd] == ' ')
                    ++numberEnd; // the blank that ends a control word is part of it
                if (isDestination(word)) {
                    skipping.back() = true;
                } else if (!skipping.back()) {
                    if (word == "par")
                        out += "\n\n"; // a blank line between paragraphs
                    else if (word == "line")
                        out += '\n';
                    else if (word == "tab")
                        out += '\t';
                    else if (word == "u" && !number.empty()) {
                        long code = std::stol(number);
                        appendUtf8(out, static_cast<unsigned long>(code < 0 ? code + 65536 : code));
                        skipAfterUnicode = 1;
                    }
                }
                i = numberEnd - 1;
            }
        } else if (c == '\r' || c == '\n') {
            // Line breaks in RTF source are not text.
        } else if (!skipping.back()) {
            if (skipAfterUnicode > 0)
                --skipAfterUnicode;
            else
                out += c;
        }
    }
    while (out.size() > 1 && out[out.size() - 1] == '\n' && out[out.size() - 2] == '\n')
        out.pop_back();
    return out;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: rtf_to_text INPUT.rtf OUTPUT.txt\n");
        return 2;
    }
    std::ifstream input(argv[1], std::ios::binary);
    if (!input) {
        std::fprintf(stderr, "rtf_to_text: cannot read %s\n", argv[1]);
        return 1;
    }
    const std::string rtf((std::istreambuf_iterator<char>(input)),
                          std::istreambuf_iterator<char>());
    std::ofstream output(argv[2], std::ios::binary | std::ios::trunc);
    output << plainText(rtf);
    output.close();
    if (!output) {
        std::fprintf(stderr, "rtf_to_text: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
