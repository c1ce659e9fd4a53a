#include "JSBatchEvaluator.h"

int main()
{
    JSBatchEvaluator::runWithStandardIO();
}
