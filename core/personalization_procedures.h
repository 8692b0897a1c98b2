// Set and Clear: what the two buttons do to a folder.
#pragma once

#include "file_system_ops.h"
#include "folder_personalization.h"
#include "notice_service.h"

namespace kelvaro {

// Notice texts and titles.
inline constexpr const char* kMissingInfoText = "请输入相关信息！";
inline constexpr const char* kSetDoneText = "文件夹个性设置成功！";
inline constexpr const char* kClearDoneText = "消除文件夹个性设置成功！";
inline constexpr const char* kErrorTitle = "Kelvaro提示错误：";
inline constexpr const char* kInformationTitle = "Kelvaro提示您：";
// Failures; each notice is the text followed directly by the path involved.
inline constexpr const char* kFolderMissingText = "应用目录不存在：";
inline constexpr const char* kCopyFailedText = "复制文件失败：";
inline constexpr const char* kDeleteFailedText = "删除文件失败：";
inline constexpr const char* kWriteFailedText = "写入文件失败：";
inline constexpr const char* kAttributesFailedText = "设置文件属性失败：";
inline constexpr const char* kCannotKeepIniText = "无法保留原有的desktop.ini设置：";

// Set: places the icon and picture, writes desktop.ini and sets the attributes.
void applyPersonalization(const FolderPersonalization& request, FileSystemOps& fs,
                          NoticeService& notices);

// Clear: removes desktop.ini, tavik.ico and tavik.jpg from the folder.
void clearPersonalization(const FolderPersonalization& request, FileSystemOps& fs,
                          NoticeService& notices);

}  // namespace kelvaro
