#include "support/plain/imagemagick.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <stdexcept>

#include "support/plain/temp_dir.h"

extern char** environ;

namespace dorvanel::test {

namespace {

constexpr const char* kConvert = "convert-im6.q16";

int Spawn(const std::vector<std::string>& argv, bool quiet) {
    std::vector<char*> args;
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (quiet) {
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    }
    pid_t pid = 0;
    int rc = posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0) return -1;
    int status = 0;
    if (waitpid(pid, &status, 0) < 0) return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace

bool HaveImageMagick() {
    static const bool have = Spawn({kConvert, "-version"}, true) == 0;
    return have;
}

bool RunConvert(const std::vector<std::string>& args) {
    std::vector<std::string> argv{kConvert};
    argv.insert(argv.end(), args.begin(), args.end());
    return Spawn(argv, false) == 0;
}

TCoalescedFrames CoalesceWithImageMagick(const std::string& gifPath, int width, int height,
                                         const std::string& scratchPath) {
    if (!RunConvert({gifPath, "-coalesce", "-depth", "8", "rgba:" + scratchPath})) {
        throw std::runtime_error("ImageMagick could not coalesce " + gifPath);
    }
    std::string raw = readFileBytes(scratchPath);
    const std::size_t frameBytes = static_cast<std::size_t>(width) * height * 4;
    if (frameBytes == 0 || raw.size() % frameBytes != 0) {
        throw std::runtime_error("ImageMagick's frames do not have the logical screen size");
    }
    TCoalescedFrames out;
    out.Width = width;
    out.Height = height;
    for (std::size_t at = 0; at < raw.size(); at += frameBytes) {
        out.Frames.emplace_back(raw.begin() + static_cast<std::ptrdiff_t>(at),
                                raw.begin() + static_cast<std::ptrdiff_t>(at + frameBytes));
    }
    return out;
}

}  // namespace dorvanel::test
