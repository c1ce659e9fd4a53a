#pragma once

#include "Fields.h"
#include "metadata/FieldCatalogue.h"
#include "platform/KitInternal.h"

#include <QtGlobal>

// What a reader module gives the programs that load it: one function that adds a group's fields of a
// file. A module is built with the programs that load it and shares their Qt and compiler; the versions
// refuse one left over from a build of another layout.
struct ReaderModule {
    static constexpr quint32 currentInterface = 1;

    quint32 interfaceVersion = currentInterface;
    quint32 qtVersion = QT_VERSION;
    void (*read)(FieldCatalogue::Group group, const QString& path, Fields& fields) = nullptr;
};

// The one symbol a module exports: `const ReaderModule* tessaryReaderModule()`.
inline constexpr char readerModuleEntry[] = "tessaryReaderModule";

#define TESSARY_READER_MODULE(readFunction)                                                                  \
    extern "C" Q_DECL_EXPORT const ReaderModule* tessaryReaderModule()                                       \
    {                                                                                                        \
        static constexpr ReaderModule module{.read = readFunction};                                          \
        return &module;                                                                                      \
    }
