// WriteExportFile: puts the export under the chosen name whole or not at
// all, without overriding the protection, the links or the access of the
// file it replaces.
#include <cstdio>
#include <system_error>

#include "ExportWriter.h"
#include "FileReplace.h"

namespace {

namespace fs = std::filesystem;

// Symbolic links are written through: the file a link names is replaced,
// the link stays. Gives up after as many hops as the system itself allows.
fs::path FollowLinks(fs::path path)
{
    std::error_code error;
    for (int hops = 0; hops < 40 && fs::is_symlink(fs::symlink_status(path, error)); ++hops) {
        const fs::path link = fs::read_symlink(path, error);
        if (error)
            break;
        path = link.is_absolute() ? link : path.parent_path() / link;
    }
    return path;
}

fs::path FolderOf(const fs::path& path) { return path.has_parent_path() ? path.parent_path() : fs::path("."); }

ExportResult Outcome(bool written) { return written ? ExportResult::Written : ExportResult::WriteFailed; }

bool WriteAll(std::FILE* file, const std::string& bytes)
{
    const bool written = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    const bool flushed = std::fflush(file) == 0;
    const bool closed = std::fclose(file) == 0;
    return written && flushed && closed;
}

// Devices and pipes are written directly: there is nothing to replace.
ExportResult WriteDevice(const fs::path& path, const std::string& bytes)
{
    std::FILE* file = file_ops::OpenForWriting(path);
    if (file == nullptr)
        return ExportResult::OpenFailed;
    return Outcome(WriteAll(file, bytes));
}

// No temporary file can be made beside the target (a folder we may not
// write, a path at the length limit): a writable target is rewritten where
// it is, a new one is created under its name and removed again on failure.
ExportResult WriteWithoutTemporary(const fs::path& target, file_ops::WritableFile existing, const std::string& bytes)
{
    if (existing.IsOpen())
        return Outcome(existing.Overwrite(bytes) && existing.SyncAndClose());
    file_ops::WritableFile file = file_ops::CreateNew(target);
    if (!file.IsOpen())
        return ExportResult::OpenFailed;
    if (file.Overwrite(bytes) && file.SyncAndClose())
        return ExportResult::Written;
    std::error_code error;
    fs::remove(target, error);
    return ExportResult::WriteFailed;
}

// Writes a complete copy under a unique name beside the target, with the
// old file's access, and moves it over the target.
ExportResult ReplaceThroughTemporary(const fs::path& target, file_ops::WritableFile existing, const std::string& bytes)
{
    fs::path temporary;
    file_ops::WritableFile file = file_ops::CreateUnique(FolderOf(target), temporary);
    if (!file.IsOpen())
        return WriteWithoutTemporary(target, std::move(existing), bytes);
    if (existing.IsOpen())
        existing.CopyAccessTo(file);
    const bool complete = file.Overwrite(bytes) && file.SyncAndClose();
    existing = {}; // Windows replaces no file that is still open
    if (!complete || !file_ops::MoveOver(temporary, target)) {
        std::error_code error;
        fs::remove(temporary, error);
        return ExportResult::WriteFailed;
    }
    // The file is complete under its name; a folder that cannot be flushed
    // changes nothing about that.
    file_ops::SyncFolder(FolderOf(target));
    return ExportResult::Written;
}

} // namespace

ExportResult WriteExportFile(const fs::path& path, const std::string& bytes)
{
    const fs::path target = FollowLinks(path);
    std::error_code error;
    const fs::file_status status = fs::status(target, error);
    // A directory cannot be opened as a file; a path the system refuses to
    // look at (a loop of links, no search permission) cannot either.
    if (fs::is_directory(status) || status.type() == fs::file_type::none)
        return ExportResult::OpenFailed;
    if (!fs::exists(status))
        return ReplaceThroughTemporary(target, {}, bytes);
    if (!fs::is_regular_file(status))
        return WriteDevice(target, bytes);

    // A file we may not write is left alone, even where its folder would let
    // us replace it.
    file_ops::WritableFile existing = file_ops::OpenExisting(target);
    if (!existing.IsOpen())
        return ExportResult::OpenFailed;
    // Under several names, every name must see the new contents: the file is
    // rewritten in place, once the whole export is ready in memory.
    if (existing.LinkCount() > 1)
        return WriteWithoutTemporary(target, std::move(existing), bytes);
    return ReplaceThroughTemporary(target, std::move(existing), bytes);
}
