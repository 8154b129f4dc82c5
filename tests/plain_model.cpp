#include "tests/plain_model.h"

namespace plain_model {

namespace {

// The substring at 1-based position i of length n: shorter at the end, empty past it.
std::string Sub(const std::string& s, size_t i, size_t n) {
    return i > s.size() ? std::string() : s.substr(i - 1, n);
}

std::string WithoutLineEnds(const std::string& s) {
    std::string out;
    for (char c : s) {
        if (c != '\r' && c != '\n') {
            out += c;
        }
    }
    return out;
}

}  // namespace

std::vector<std::string> Lines(const std::string& data) {
    std::vector<std::string> lines;
    size_t i = 1;
    while (i <= data.size()) {
        std::string line;
        while (i <= data.size() && Sub(data, i, 1) != "\r" && Sub(data, i, 1) != "\n") {
            line += Sub(data, i, 1);
            ++i;
        }
        if (Sub(data, i, 2) == "\r\n") {
            i += 2;
        } else if (i <= data.size()) {
            i += 1;
        }
        lines.push_back(line);
    }
    return lines;
}

std::string DisplayText(const std::string& data) {
    std::string text;
    for (const std::string& line : Lines(data)) {
        text += line + "\r\n";
    }
    return text.empty() ? text : text.substr(0, text.size() - 2);
}

std::string StripLineComments(const std::string& source) {
    std::string kept;
    for (std::string line : Lines(source)) {
        for (size_t p = 1; p + 1 <= line.size(); ++p) {
            if (Sub(line, p, 2) == "//") {
                line = line.substr(0, p - 1);
                break;
            }
        }
        bool blank = true;
        for (char c : line) {
            blank = blank && c == ' ';
        }
        if (!blank) {
            kept += line + "\r\n";
        }
    }
    return kept.empty() ? kept : kept.substr(0, kept.size() - 2);
}

std::string StripBlockComments(const std::string& text) {
    std::string result;
    bool keep = true;
    const size_t n = text.size();
    for (size_t i = 1; i <= n; ++i) {
        if (Sub(text, i, 2) == "/*") {
            keep = false;
        } else if (Sub(text, i, 2) == "*/") {
            i += 2;
            if (Sub(text, i, 2) == "\r\n") {
                i += 2;
            }
            keep = Sub(text, i, 2) != "/*";
        }
        if (keep) {
            result += Sub(text, i, 1);
        }
    }
    return result;
}

bool IsPlausibleOutput(const std::string& source, const std::string& written) {
    if (written.size() < 2 || written.substr(written.size() - 2) != "\r\n") {
        return false;
    }
    return IsSubsequence(WithoutLineEnds(written), WithoutLineEnds(source));
}

bool IsSubsequence(const std::string& kept, const std::string& from) {
    size_t at = 0;
    for (char c : kept) {
        at = from.find(c, at);
        if (at == std::string::npos) {
            return false;
        }
        ++at;
    }
    return true;
}

}  // namespace plain_model
