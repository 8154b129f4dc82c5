#include "cli/file_job.h"

#include <new>

#include "cli/line_ends.h"
#include "files/file_system.h"
#include "processing/comment_passes.h"
#include "processing/languages/language_table.h"

namespace {

FileOutcome ProcessFileOrThrow(const SourceFile& file, const CliOptions& options,
                               const ResultWriter& writer) {
    FileOutcome outcome;
    const auto corePath = CorePathOf(file.Path());
    if (!corePath) {
        outcome.error = Utf8Of(file.shown) +
                        ": the name cannot be handled (not UTF-8, or it holds a backslash)";
        return outcome;
    }
    // Each worker reuses its buffer: memory stays at the largest file's size per worker, and the
    // pages are not faulted in again for every file.
    thread_local AnsiText text;
    ClearSystemError();
    if (!ReadWholeFile(*corePath, text, SplitFrom(options))) {
        outcome.error = Utf8Of(file.shown) + ": " + LastSystemError("cannot be read");
        return outcome;
    }
    outcome.bytesIn = text.size();
    // Only --check needs the source once the passes have run over it.
    const AnsiText source = options.check ? text : AnsiText();
    const std::string_view lineEnd = StripSource(text, *corePath, options);
    outcome.bytesOut = text.size() + lineEnd.size();
    if (options.check) {
        outcome.changed = source.size() != outcome.bytesOut ||
                          source.compare(0, text.size(), text) != 0 ||
                          source.compare(text.size(), lineEnd.size(), lineEnd) != 0;
        return outcome;
    }
    outcome.error = writer.Write(file, text, lineEnd);
    return outcome;
}

}  // namespace

std::string_view StripSource(AnsiText& text, const Path& path, const CliOptions& options) {
    const std::string_view lineEnd = ChosenLineEnd(options.lineEnds, text);
    StripOptions stripOptions;
    stripOptions.literals = options.literals;
    stripOptions.keepHeader = options.keepHeader;
    // The literal-aware passes write the chosen line end themselves: LF stays LF without growing.
    stripOptions.lineEnd = lineEnd;
    stripOptions.splitFrom = SplitFrom(options);
    const Language* language =
        options.language.empty() ? LanguageOfFile(path, text) : LanguageNamed(options.language);
    if (language) {
        UseLanguage(*language, stripOptions);
    }
    StripCommentsInPlace(text, stripOptions);
    if (!EndsLinesAsTold(stripOptions)) {
        ConvertLineEnds(text, lineEnd);
    }
    // The last line's end; nothing left is an empty file.
    return text.empty() ? std::string_view() : lineEnd;
}

FileOutcome ProcessFile(const SourceFile& file, const CliOptions& options,
                        const ResultWriter& writer) {
    // A file too large for the memory available fails alone; the others go on.
    try {
        return ProcessFileOrThrow(file, options, writer);
    } catch (const std::bad_alloc&) {
        FileOutcome outcome;
        outcome.error = Utf8Of(file.shown) + ": not enough memory";
        return outcome;
    }
}
