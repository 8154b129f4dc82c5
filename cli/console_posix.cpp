#include <unistd.h>

#include <cerrno>

#include "cli/console.h"

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
    char block[1 << 16];
    while (true) {
        const ssize_t n = read(STDIN_FILENO, block, sizeof block);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            return false;
        }
        if (n == 0) {
            return true;
        }
        bytes.append(block, static_cast<size_t>(n));
    }
}

Console& SystemConsole() {
    static PosixConsole console;
    return console;
}
