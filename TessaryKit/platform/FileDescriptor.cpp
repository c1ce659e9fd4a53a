#include "platform/FileDescriptor.h"

#include <unistd.h>

void FileDescriptor::close()
{
    if (descriptor >= 0)
        ::close(std::exchange(descriptor, -1));
}
