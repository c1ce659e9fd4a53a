#include "platform/Heap.h"

#include <QFile>
#include <QTest>
#include <cstdint>
#include <cstdlib>
#include <malloc.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

constexpr std::size_t megabyte = std::size_t(1) << 20;

std::uintptr_t heapEnd()
{
    return reinterpret_cast<std::uintptr_t>(::sbrk(0));
}

std::uintptr_t address(void* block)
{
    return reinterpret_cast<std::uintptr_t>(block);
}

// Whether the kernel gives huge pages to the memory that asks for them.
bool hugePagesOnRequest()
{
    QFile setting(u"/sys/kernel/mm/transparent_hugepage/enabled"_s);
    return setting.open(QIODevice::ReadOnly) && !setting.readAll().contains("[never]");
}

// The flags of the mapping that holds `at`, as /proc/self/smaps lists them ("rd wr hg ...").
QByteArray mappingFlags(std::uintptr_t at)
{
    QFile smaps(u"/proc/self/smaps"_s);
    if (!smaps.open(QIODevice::ReadOnly))
        return {};
    bool inside = false;
    for (const QByteArray& line : smaps.readAll().split('\n')) {
        const qsizetype dash = line.indexOf('-');
        const qsizetype space = line.indexOf(' ');
        if (dash > 0 && space > dash && line.at(space - 1) != ':') { // "from-to perms ...", not "Key: value"
            const auto from = line.left(dash).toULongLong(nullptr, 16);
            const auto to = line.mid(dash + 1, space - dash - 1).toULongLong(nullptr, 16);
            inside = from <= at && at < to;
        } else if (inside && line.startsWith("VmFlags:")) {
            return line.mid(8).trimmed();
        }
    }
    return {};
}

// A free block bigger than the heap's free top, kept below it by a block still in use, which it returns.
void* freeBlockBelowTheTop(std::size_t bytes)
{
    ::mallopt(M_MMAP_MAX, 0); // so that the block is the heap's, not a mapping of its own
    void* below = std::malloc(::mallinfo2().keepcost + bytes);
    void* guard = std::malloc(megabyte); // from the top: no free block is as large
    const bool above = address(guard) > address(below);
    std::free(below);
    return above ? guard : nullptr;
}

} // namespace

class tst_Heap : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
#if defined(__SANITIZE_ADDRESS__)
        QSKIP("the sanitizer's allocator is not the C library's heap");
#endif
    }

    void reservesFreeMemoryAtTheTop_data()
    {
        QTest::addColumn<std::size_t>("bytes");
        QTest::addColumn<std::size_t>("freeBelow");
        QTest::newRow("small") << 4 * megabyte << std::size_t(0);
        QTest::newRow("large") << 200 * megabyte << std::size_t(0);
        QTest::newRow("a larger free block below the top") << 16 * megabyte << 48 * megabyte;
    }

    void reservesFreeMemoryAtTheTop()
    {
        QFETCH(std::size_t, bytes);
        QFETCH(std::size_t, freeBelow);
        void* guard = freeBelow ? freeBlockBelowTheTop(freeBelow) : nullptr;
        QVERIFY(guard || !freeBelow);
        const std::uintptr_t start = heapEnd();
        Heap::reserve(::mallinfo2().keepcost + bytes);
        QCOMPARE_GE(::mallinfo2().keepcost, bytes);
        QCOMPARE_GE(heapEnd(), start + bytes);
        // Large blocks are the heap's now, not mappings of their own.
        const std::size_t mapped = ::mallinfo2().hblkhd;
        void* large = std::malloc(bytes / 2);
        QCOMPARE(::mallinfo2().hblkhd, mapped);
        QCOMPARE_LT(address(large), heapEnd());
        std::free(large);
        std::free(guard);
    }

    void enoughFreeMemoryLeavesTheHeapAsItIs()
    {
        Heap::reserve(8 * megabyte);
        const std::uintptr_t end = heapEnd();
        Heap::reserve(8 * megabyte);
        Heap::reserve(::mallinfo2().keepcost);
        QCOMPARE(heapEnd(), end);
    }

    void reservedMemoryIsInHugePages()
    {
        if (!hugePagesOnRequest())
            QSKIP("this kernel has no huge pages on request");
        const std::uintptr_t start = heapEnd();
        Heap::reserve(::mallinfo2().keepcost + 64 * megabyte);
        QVERIFY(mappingFlags(start + 32 * megabyte).split(' ').contains("hg"));
    }
};

QTEST_GUILESS_MAIN(tst_Heap)
#include "tst_Heap.moc"
