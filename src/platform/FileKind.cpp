#include "platform/FileKind.h"

#include "platform/Utf8Path.h"

#include <filesystem>

namespace fs = std::filesystem;

EFileKind KindOfFile(const std::string& path)
{
    std::error_code error;
    switch (fs::status(PathFromUtf8(path), error).type()) {
    case fs::file_type::none:
    case fs::file_type::not_found:
        return EFileKind::Missing;
    case fs::file_type::regular:
        return EFileKind::Regular;
    case fs::file_type::directory:
        return EFileKind::Folder;
    case fs::file_type::fifo:
        return EFileKind::Pipe;
    case fs::file_type::block:
    case fs::file_type::character:
        return EFileKind::Device;
    case fs::file_type::socket:
        return EFileKind::Socket;
    default:
        return EFileKind::Other;
    }
}

std::string NotAFileReason(EFileKind kind)
{
    switch (kind) {
    case EFileKind::Missing:
    case EFileKind::Regular:
        return {};
    case EFileKind::Folder:
        return "it is a folder";
    case EFileKind::Pipe:
        return "it is a named pipe, not a file";
    case EFileKind::Device:
        return "it is a device, not a file";
    case EFileKind::Socket:
        return "it is a socket, not a file";
    case EFileKind::Other:
        break;
    }
    return "it is not a regular file";
}
