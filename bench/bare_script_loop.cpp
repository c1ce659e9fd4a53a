// The bare JavaScriptCore loop as a program of its own: started, run over the items, ended, as the helper
// is for every batch. bench_planner times it end to end.
#include "BareScriptLoop.h"

#include <QString>
#include <cstdlib>

int main(int argc, char* argv[])
{
    if (argc != 3 && argc != 4)
        return 2;
    bareScriptLoopMicroseconds(QString::fromUtf8(argv[1]), std::atoi(argv[2]),
                               argc == 4 ? QString::fromUtf8(argv[3]) : QString());
    return 0;
}
