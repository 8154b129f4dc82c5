#include "exhibit/program_order.h"

#include <algorithm>
#include <array>
#include <string>

namespace {

struct EntrySign {
    std::string_view text;     // in the source, comments removed; empty: the name alone tells
    std::string_view nameEnd;  // the file name's end, any folder; empty: any file
    int score;
};

// The strongest sign first: the framework's own mark, then a main function, then the names
// front ends and scripts give their entry.
constexpr std::array kSigns = {
    EntrySign{"@SpringBootApplication", ".java", 100},
    EntrySign{"static void main(", ".java", 90},
    EntrySign{"func main(", ".go", 90},
    EntrySign{"int main(", "", 80},
    EntrySign{"int wmain(", "", 80},
    EntrySign{"WinMain(", "", 80},
    EntrySign{"void main(", "", 70},
    EntrySign{"__name__ == \"__main__\"", ".py", 60},
    EntrySign{"__name__ == '__main__'", ".py", 60},
    EntrySign{"", "/__main__.py", 60},
    EntrySign{"", "/main.ts", 50},
    EntrySign{"", "/main.js", 50},
    EntrySign{"", "/index.tsx", 45},
    EntrySign{"", "/index.ts", 45},
    EntrySign{"", "/index.jsx", 45},
    EntrySign{"", "/index.js", 45},
    EntrySign{"", "/App.vue", 40},
    EntrySign{"", "/app.js", 40},
    EntrySign{"", "/app.ts", 40},
};

size_t Depth(std::string_view shown) {
    return std::count(shown.begin(), shown.end(), '/');
}

// True when the path ends in `end`, which begins with '/' to name a whole file name.
bool EndsWithPart(std::string_view shown, std::string_view end) {
    return shown.ends_with(end) || (end.starts_with('/') && shown == end.substr(1));
}

}  // namespace

int EntryScore(std::string_view shown, std::string_view text) {
    for (const EntrySign& sign : kSigns) {
        if (EndsWithPart(shown, sign.nameEnd) &&
            (sign.text.empty() || text.find(sign.text) != std::string_view::npos)) {
            return sign.score;
        }
    }
    return 0;
}

int EntryIndex(const std::vector<std::string_view>& shown, const std::vector<int>& scores,
               std::string_view first) {
    if (!first.empty()) {
        std::string wanted = "/";
        wanted += first;
        for (size_t i = 0; i < shown.size(); ++i) {
            if (EndsWithPart(shown[i], wanted)) {
                return static_cast<int>(i);
            }
        }
        return -1;
    }
    int best = -1;
    for (size_t i = 0; i < shown.size(); ++i) {
        if (scores[i] == 0) {
            continue;
        }
        if (best < 0 || scores[i] > scores[best] ||
            (scores[i] == scores[best] && Depth(shown[i]) < Depth(shown[best]))) {
            best = static_cast<int>(i);
        }
    }
    return best;
}
