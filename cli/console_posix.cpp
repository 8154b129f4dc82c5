#include <unistd.h>

#include <cerrno>

#include "cli/console.h"
#include "files/unique_fd_posix.h"

namespace {

int DescriptorOf(Stream stream) {
    return stream == Stream::Out ? STDOUT_FILENO : STDERR_FILENO;
}

class PosixConsole : public Console {
  public:
    bool IsTerminal(Stream stream) override { return isatty(DescriptorOf(stream)) == 1; }
    void WriteText(Stream stream, std::string_view utf8) override { WriteBytes(stream, utf8); }
    bool WriteBytes(Stream stream, std::string_view bytes) override {
        while (!bytes.empty()) {
            const ssize_t n = write(DescriptorOf(stream), bytes.data(), bytes.size());
            if (n < 0 && errno == EINTR) {
                continue;
            }
            if (n <= 0) {
                return false;
            }
            bytes.remove_prefix(static_cast<size_t>(n));
        }
        return true;
    }
};

}  // namespace

bool ReadStandardInput(std::string& bytes) {
    return AppendToEnd(STDIN_FILENO, bytes);
}

Console& SystemConsole() {
    static PosixConsole console;
    return console;
}
