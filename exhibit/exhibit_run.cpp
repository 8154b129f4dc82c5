#include "exhibit/exhibit_run.h"

#include <algorithm>
#include <optional>
#include <thread>

#include "exhibit/docx_writer.h"
#include "exhibit/exhibit_fonts.h"
#include "exhibit/exhibit_summary.h"
#include "exhibit/page_choice.h"
#include "exhibit/page_layout.h"
#include "exhibit/pdf_writer.h"
#include "exhibit/program_order.h"
#include "exhibit/source_collector.h"
#include "exhibit/source_lines.h"
#include "files/file_system.h"
#include "files/utf8.h"

namespace fs = std::filesystem;

namespace {

std::string Shown(const fs::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

std::optional<Path> CorePath(const fs::path& path) {
    if constexpr (sizeof(fs::path::value_type) == sizeof(wchar_t)) {
        return Path(path.native().begin(), path.native().end());
    } else {
        std::wstring wide;
        if (!DecodeUtf8Strict(Shown(path), wide)) {
            return std::nullopt;
        }
        return wide;
    }
}

// Counts every file on all processors; the lines themselves are not kept.
std::vector<SourceLines> CountAll(const Collection& sources, const ExhibitOptions& options,
                                  int columns, const ExhibitProgress& progress) {
    std::vector<SourceLines> counted(sources.files.size());
    std::atomic<size_t> next{0}, done{0};
    const auto work = [&] {
        for (size_t i; (i = next++) < counted.size();) {
            if (progress.cancel && *progress.cancel) {
                return;
            }
            counted[i] =
                PrepareSource(sources.files[i], options.encoding, options.tabWidth, columns, false);
            const size_t finished = ++done;
            if (progress.update) {
                progress.update(finished, counted.size());
            }
        }
    };
    const unsigned workers = std::max(1u, std::min(std::thread::hardware_concurrency(), 16u));
    std::vector<std::jthread> threads;
    for (unsigned k = 1; k < workers; ++k) {
        threads.emplace_back(work);
    }
    work();
    return counted;
}

const char* ReasonFor(SourceStatus status) {
    switch (status) {
        case SourceStatus::Binary:
            return "a binary file";
        case SourceStatus::Generated:
            return "generated or minified (very long lines on average)";
        case SourceStatus::Unreadable:
            return "cannot be read";
        case SourceStatus::Undecodable:
            return "not text in UTF-8, UTF-16 or the chosen encoding";
        case SourceStatus::Taken:
            break;
    }
    return "";
}

std::string PageNumberText(std::string format, std::uintmax_t page, std::uintmax_t pages) {
    for (const auto& [mark, value] : {std::pair{'X', page}, std::pair{'Y', pages}}) {
        for (size_t at; (at = format.find(mark)) != std::string::npos;) {
            format.replace(at, 1, std::to_string(value));
        }
    }
    return format;
}

std::string Trimmed(const std::string& text) {
    const size_t first = text.find_first_not_of(" \t");
    return first == std::string::npos
               ? ""
               : text.substr(first, text.find_last_not_of(" \t") + 1 - first);
}

struct Output {
    fs::path path;
    std::string bytes;
};

}  // namespace

fs::path SummaryPathFor(const fs::path& pdf) {
    fs::path summary = pdf;
    return summary.replace_extension(".txt");
}

std::string FileNameFor(const std::string& name) {
    std::string file;
    for (const char c : name) {
        const bool bad = static_cast<unsigned char>(c) < 0x20 ||
                         std::string_view("<>:\"/\\|?*").find(c) != std::string_view::npos;
        file += bad ? '_' : c;
    }
    return file.empty() ? "exhibit" : file;
}

ExhibitOutcome MakeExhibit(const ExhibitOptions& options, const ExhibitProgress& progress) {
    ExhibitOutcome outcome;
    const std::string name = Trimmed(options.name), version = Trimmed(options.version);
    if (name.empty() || version.empty()) {
        outcome.error = "the software's name and version are both needed, exactly as on the form";
        return outcome;
    }
    if (options.linesPerPage < kMinimumLinesPerPage || options.linesPerPage > 200) {
        outcome.error = "lines per page must be from 50 to 200";
        return outcome;
    }
    ExhibitFonts fonts;
    if (!LoadExhibitFonts(fonts, outcome.error)) {
        return outcome;
    }
    const PageGeometry geometry = GeometryFor(
        options.linesPerPage, fonts.code.AdvanceOf(fonts.code.GlyphOf('0')), options.lineNumbers);
    const int columns = geometry.CodeColumns();

    Collection sources = CollectSources(options);
    if (!sources.error.empty()) {
        outcome.error = sources.error;
        return outcome;
    }
    std::vector<SourceLines> counted = CountAll(sources, options, columns, progress);
    if (progress.cancel && *progress.cancel) {
        outcome.error = "cancelled";
        return outcome;
    }
    outcome.warnings = std::move(sources.warnings);
    std::vector<size_t> order;
    for (size_t i = 0; i < counted.size(); ++i) {
        const SourceStatus status = counted[i].status;
        if (status == SourceStatus::Taken && counted[i].lineCount > 0) {
            order.push_back(i);
        } else if (status == SourceStatus::Binary || status == SourceStatus::Generated) {
            sources.leftOut.push_back({sources.files[i].shown, ReasonFor(status)});
        } else if (status != SourceStatus::Taken) {
            outcome.warnings.push_back(sources.files[i].shown + ": " + ReasonFor(status) +
                                       "; left out");
        }
    }
    if (order.empty()) {
        outcome.error = "no source files found";
        return outcome;
    }
    std::vector<std::string_view> shown;
    std::vector<int> scores;
    for (const size_t i : order) {
        shown.push_back(sources.files[i].shown);
        scores.push_back(counted[i].entryScore);
    }
    const std::u8string firstText = options.first.generic_u8string();
    const std::string first(firstText.begin(), firstText.end());
    const int entry = EntryIndex(shown, scores, first);
    if (!first.empty() && entry < 0) {
        outcome.error = first + " (--first) is not one of the sources";
        return outcome;
    }
    if (entry > 0) {
        std::rotate(order.begin(), order.begin() + entry, order.begin() + entry + 1);
    }

    const auto perPage = static_cast<std::uintmax_t>(options.linesPerPage);
    std::uintmax_t rows = 0;
    std::vector<SummaryFile> summaryFiles;
    for (const size_t i : order) {
        summaryFiles.push_back(
            {sources.files[i].shown, counted[i].lineCount, rows, counted[i].rowCount});
        rows += counted[i].rowCount;
        outcome.lines += counted[i].lineCount;
        outcome.wrappedLines += counted[i].wrappedLines;
    }
    const PageChoice choice(rows, perPage);

    // The shown pages' rows, from the few files they hold, read again with their lines.
    DocumentText document{name + " " + version, options.footer, {}};
    document.pages.resize(static_cast<size_t>(choice.ExhibitPages()));
    std::uintmax_t lineNumber = 1;
    for (size_t k = 0; k < order.size(); ++k) {
        const SummaryFile& file = summaryFiles[k];
        // The shown rows are a first and a last stretch, so a file holds some exactly when its
        // first or its last row is shown.
        if (!choice.Shows(file.firstRow) && !choice.Shows(file.firstRow + file.rows - 1)) {
            lineNumber += file.lines;
            continue;
        }
        const SourceLines source = PrepareSource(sources.files[order[k]], options.encoding,
                                                 options.tabWidth, columns, true);
        if (source.rowCount != file.rows) {
            outcome.error = file.shown + ": the file changed while the exhibit was made";
            return outcome;
        }
        std::uintmax_t row = file.firstRow;
        std::vector<std::string> wrapped;
        for (const std::string& text : source.lines) {
            wrapped.clear();
            WrapLine(text, columns, &wrapped);
            for (size_t r = 0; r < wrapped.size(); ++r, ++row) {
                if (const std::uintmax_t page = choice.ExhibitPageOf(row / perPage + 1)) {
                    document.pages[page - 1].rows.push_back(
                        {r == 0 ? lineNumber : 0, std::move(wrapped[r])});
                }
            }
            ++lineNumber;
        }
    }
    for (size_t p = 0; p < document.pages.size(); ++p) {
        document.pages[p].header = document.title;
        document.pages[p].pageNumber =
            PageNumberText(options.pageFormat, p + 1, document.pages.size());
    }

    std::string missing;
    std::vector<Output> outputs;
    outputs.push_back({options.pdf, WritePdf(document, geometry, fonts, missing, outcome.error)});
    if (!outcome.error.empty()) {
        return outcome;
    }
    if (!missing.empty()) {
        outcome.warnings.push_back("characters no font has, shown as empty boxes: " + missing);
    }
    if (!options.docx.empty()) {
        outputs.push_back({options.docx, WriteDocx(document, geometry, fonts)});
    }
    outcome.files = order.size();
    outcome.programPages = choice.ProgramPages();
    outcome.pages = choice.ExhibitPages();
    const SummaryInput summary{options,
                               choice,
                               outcome.lines,
                               outcome.wrappedLines,
                               std::move(summaryFiles),
                               sources.leftOut,
                               outcome.warnings};
    outputs.push_back({SummaryPathFor(options.pdf), SummaryText(summary)});
    for (const Output& output : outputs) {
        const std::optional<Path> path = CorePath(output.path);
        if (!path || !ReplaceFileContents(*path, output.bytes)) {
            outcome.error = Shown(output.path) +
                            ": cannot be written (is it open in another program, or the folder "
                            "read-only?); the file as it was is kept";
            return outcome;
        }
        outcome.written.push_back(output.path);
    }
    return outcome;
}
