#include "JSBatchEvaluator.h"
#include "SyscallFence.h"

#if defined(__SANITIZE_ADDRESS__)
// The leak check at exit starts a tracing process, which the fence forbids.
extern "C" int __lsan_is_turned_off()
{
    return 1;
}
#endif

int main()
{
    JSBatchEvaluator::runWithStandardIO(SyscallFence::install);
}
