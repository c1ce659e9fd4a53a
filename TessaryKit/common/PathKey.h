#pragma once

#include <QHash>
#include <QString>

// A path as a hash table's key, with its hash made beforehand. A table of QString keys reads the text of
// every occupied slot a probe passes; this one compares hashes, and reads a path only when they are equal.
// The path must outlive the table.
struct PathKey {
    size_t hash;
    const QString* path;

    // With the seed that every QHash takes.
    static size_t hashOf(const QString& path) { return qHash(path, QHashSeed::globalSeed()); }
    static PathKey of(const QString& path) { return {hashOf(path), &path}; }

    friend bool operator==(const PathKey& a, const PathKey& b)
    {
        return a.hash == b.hash && *a.path == *b.path;
    }
    friend size_t qHash(const PathKey& key, size_t) { return key.hash; }
};
