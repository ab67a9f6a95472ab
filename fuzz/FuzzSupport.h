#pragma once

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>

// The entry point every fuzz target defines: libFuzzer calls it in the clang build, our own
// mutation driver in the ordinary one.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace velmora::fuzz {

// A scratch folder for the whole run; each input overwrites the files it needs there.
const QString& scratchFolder();

// Writes `bytes` to scratchFolder()/`name` (subfolders created) and returns the full path.
QString writeScratchFile(const QString& name, const QByteArray& bytes);

inline QByteArray bytesOf(const uint8_t* data, size_t size) {
    return QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
}

// The catalogues the loader target can read, in the order its first byte picks them.
inline constexpr const char* kCatalogueFiles[] = {
    "F0004.enc", "F0005.enc", "F0003.enc", "F0006.enc", "F0015.enc", "F0016.enc", "F0008.enc", "F0007.enc",
    "F0001.enc", "F0014.enc", "F0013.enc", "F0009.enc", "F0010.enc", "F0011.enc", "F0012.enc"};

// A GUI application on the offscreen platform, created on first use: the document layout
// measures text with real fonts.
void ensureGuiApplication();

} // namespace velmora::fuzz
