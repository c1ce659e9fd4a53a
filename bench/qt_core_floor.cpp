// The least a program on Qt Core can start in: the dynamic loader maps and relocates Qt Core and what it
// links (ICU, GLib), then the program prints one line. The floor of `tessary-cli --version`.
#include <QtGlobal>
#include <cstdio>

int main()
{
    std::puts(qVersion());
    return 0;
}
