#include "common/platform/filesystem.h"

namespace slate {

namespace {
FileSystem* current = nullptr;
}  // namespace

FileSystem& fileSystem() {
    return current ? *current : nativeFileSystem();
}

FileSystemOverride::FileSystemOverride(FileSystem& replacement) : previous_(current) {
    current = &replacement;
}

FileSystemOverride::~FileSystemOverride() {
    current = previous_;
}

}  // namespace slate
