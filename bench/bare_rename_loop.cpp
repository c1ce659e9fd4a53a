// The floor of any renamer in one folder: for each NUL-separated path on standard input, one
// renameat2(RENAME_NOREPLACE) from "…/NAME-NUMBER" to "…/NUMBER_NAME", the rename that bench_cli.sh asks
// of tessary-cli and perl. Nothing is planned, checked or recorded.
#include <cstdio>
#include <fcntl.h>
#include <iostream>
#include <iterator>
#include <string>

int main()
{
    std::cin >> std::noskipws;
    const std::string input{std::istream_iterator<char>(std::cin), std::istream_iterator<char>()};
    int failures = 0;
    for (std::size_t start = 0; start < input.size();) {
        std::size_t end = input.find('\0', start);
        if (end == std::string::npos)
            end = input.size();
        const std::string path = input.substr(start, end - start);
        start = end + 1;
        const std::size_t slash = path.rfind('/');
        const std::size_t dash = path.rfind('-');
        if (slash == std::string::npos || dash == std::string::npos || dash < slash)
            continue;
        const std::string target = path.substr(0, slash + 1) + path.substr(dash + 1) + '_' +
                                   path.substr(slash + 1, dash - slash - 1);
        if (::renameat2(AT_FDCWD, path.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) != 0)
            ++failures;
    }
    return failures == 0 ? 0 : 1;
}
