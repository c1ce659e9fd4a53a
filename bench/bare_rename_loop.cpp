// The floor of any renamer in one folder: for each NUL-separated path on standard input, one
// renameat2(RENAME_NOREPLACE) from "…/NAME-NUMBER" to "…/NUMBER_NAME", the rename that bench_cli.sh asks
// of tessary-cli and perl. Nothing is planned or checked.
//
// Given a journal's path, it also does the least that a renamer which can put things right after a crash
// must do: each file's identity (statx) and both paths are on the disk before the file moves, and once
// the moves are made, their folders and then the entry's end are. As in tessary-cli, a second thread stores
// chunks that double in size while the moves of the last one go on.
//
// With --checked first, it also does the least that a renamer which shows every clash before it touches a
// file must do: it lists each target folder once and finds no target taken before the first move.
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <iostream>
#include <iterator>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace {

struct Move {
    std::string from;
    std::string to;
};

std::vector<Move> movesIn(const std::string& input)
{
    std::vector<Move> moves;
    for (std::size_t start = 0; start < input.size();) {
        std::size_t end = input.find('\0', start);
        if (end == std::string::npos)
            end = input.size();
        std::string path = input.substr(start, end - start);
        start = end + 1;
        const std::size_t slash = path.rfind('/');
        const std::size_t dash = path.rfind('-');
        if (slash == std::string::npos || dash == std::string::npos || dash < slash)
            continue;
        std::string target = path.substr(0, slash + 1) + path.substr(dash + 1) + '_' +
                             path.substr(slash + 1, dash - slash - 1);
        moves.push_back({std::move(path), std::move(target)});
    }
    return moves;
}

using Names = std::unordered_set<std::string>;

Names namesIn(const std::string& folder)
{
    Names names;
    if (DIR* listing = ::opendir(folder.c_str())) {
        while (const dirent* entry = ::readdir(listing))
            names.emplace(entry->d_name);
        ::closedir(listing);
    }
    return names;
}

// The folder of `path`, with its slash.
std::string_view folderOf(const std::string& path)
{
    return std::string_view(path).substr(0, path.rfind('/') + 1);
}

// No target is already in its folder or the target of another move. Unlike a real planner, it does not
// let a target be a name that another move frees first: the benchmark's renames never need that.
bool targetsAreFree(const std::vector<Move>& moves)
{
    std::unordered_map<std::string, Names> listed; // folder -> its names, then the targets
    std::string_view folder;                       // the last move's: most moves share it
    Names* names = nullptr;
    for (const Move& move : moves) {
        if (!names || folderOf(move.to) != folder) {
            folder = folderOf(move.to);
            const auto [found, added] = listed.try_emplace(std::string(folder));
            if (added)
                found->second = namesIn(found->first);
            names = &found->second;
        }
        if (!names->emplace(move.to.substr(folder.size())).second)
            return false;
    }
    return true;
}

bool writeAll(int descriptor, const std::string& bytes)
{
    for (std::size_t done = 0; done < bytes.size();) {
        const ssize_t count = ::write(descriptor, bytes.data() + done, bytes.size() - done);
        if (count <= 0)
            return false;
        done += std::size_t(count);
    }
    return true;
}

// Opens `path`, appends `bytes` and syncs it.
bool syncedWith(const std::string& path, int flags, const std::string& bytes = {})
{
    const int file = ::open(path.c_str(), flags | O_CLOEXEC);
    const bool ok = file >= 0 && writeAll(file, bytes) && ::fsync(file) == 0;
    if (file >= 0)
        ::close(file);
    return ok;
}

// Stores the moves in the journal, chunk by chunk; `stored` tells the mover how many it may make.
class Recorder {
public:
    Recorder(const std::vector<Move>& moves, std::string journal)
        : moves(moves), journal(std::move(journal)), thread([this] { record(); })
    {
    }

    // Once every move is made: their folders are synced, and then the entry's end is stored.
    bool finish()
    {
        thread.join();
        std::unordered_set<std::string_view> folders;
        std::string_view last; // most moves share their folder with the one before
        bool ok = true;
        for (const Move& move : moves) {
            const std::string_view folder = folderOf(move.to);
            if (folder != last && folders.insert(folder).second)
                ok = syncedWith(std::string(folder), O_RDONLY | O_DIRECTORY) && ok;
            last = folder;
        }
        return ok && syncedWith(journal, O_WRONLY | O_APPEND, "end");
    }

    // Waits until the move at `index` is stored; the number stored then, or 0 when storing failed.
    std::size_t storedPast(std::size_t index)
    {
        std::size_t now = stored.load();
        while (now <= index) {
            stored.wait(now);
            now = stored.load();
        }
        return now == failed ? 0 : now;
    }

private:
    void record()
    {
        const int file = ::open(journal.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_APPEND | O_CLOEXEC, 0600);
        const int folder = ::open(std::string(folderOf(journal)).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        bool ok = file >= 0 && folder >= 0;
        for (std::size_t begin = 0, size = 256; ok && begin < moves.size();
             begin += size, size = std::min<std::size_t>(2 * size, 16384)) {
            const std::size_t end = std::min(begin + size, moves.size());
            std::string bytes;
            for (std::size_t i = begin; i < end; ++i) {
                struct statx status {};
                ok = ok && ::statx(AT_FDCWD, moves[i].from.c_str(), AT_SYMLINK_NOFOLLOW,
                                   STATX_INO | STATX_BTIME, &status) == 0;
                bytes.append(reinterpret_cast<const char*>(&status), sizeof status);
                bytes += moves[i].from + '\0' + moves[i].to + '\0';
            }
            ok = ok && writeAll(file, bytes) && ::fsync(file) == 0 && (begin > 0 || ::fsync(folder) == 0);
            if (ok)
                publish(end);
        }
        if (!ok)
            publish(failed);
        ::close(file);
        ::close(folder);
    }

    void publish(std::size_t count)
    {
        stored.store(count);
        stored.notify_one();
    }

    static constexpr std::size_t failed = std::numeric_limits<std::size_t>::max(); // as `stored`: no more
    const std::vector<Move>& moves;
    const std::string journal;
    std::atomic<std::size_t> stored{0};
    std::jthread thread; // last: it starts once the rest is set up
};

} // namespace

// bare_rename_loop [--checked] [JOURNAL]
int main(int argc, char** argv)
{
    const bool checked = argc > 1 && std::strcmp(argv[1], "--checked") == 0;
    const char* journal = argc > 1 + int(checked) ? argv[1 + int(checked)] : nullptr;
    std::cin >> std::noskipws;
    const std::vector<Move> moves =
        movesIn(std::string{std::istream_iterator<char>(std::cin), std::istream_iterator<char>()});
    if (checked && !targetsAreFree(moves))
        return 1;
    std::optional<Recorder> recorder;
    if (journal)
        recorder.emplace(moves, journal);
    int failures = 0;
    for (std::size_t i = 0, stored = recorder ? 0 : moves.size(); i < moves.size(); ++i) {
        if (recorder && i >= stored)
            stored = recorder->storedPast(i);
        if (i >= stored)
            return 1;
        if (::renameat2(AT_FDCWD, moves[i].from.c_str(), AT_FDCWD, moves[i].to.c_str(), RENAME_NOREPLACE) !=
            0)
            ++failures;
    }
    return failures == 0 && (!recorder || recorder->finish()) ? 0 : 1;
}
