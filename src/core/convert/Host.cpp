#include "convert/Host.h"

#include "util/Paths.h"
#include "util/Text.h"

namespace tessel {

std::string MessageText(Message message) {
  switch (message) {
    case Message::SourceInvalid: return trText("Host", messages::kSourceInvalid);
    case Message::NoPictures: return trText("Host", messages::kNoPictures);
    case Message::FontMissing: return trText("Host", messages::kFontMissing);
    case Message::PathsOverlap: return trText("Host", messages::kPathsOverlap);
    case Message::NoOutputFolder: break;
  }
  return trText("Host", messages::kNoOutputFolder);
}

std::string MessageAbout(Message message, const std::filesystem::path& about,
                         const std::filesystem::path& other) {
  const std::string path = PathToUtf8(about);
  switch (message) {
    case Message::SourceInvalid: return trText("Host", "源路径无效：%1").arg(path);
    case Message::NoPictures: return trText("Host", "没有找到图片：%1").arg(path);
    case Message::FontMissing:
      return trText("Host", "没有找到字库font.ttf，需要手动配置：%1").arg(path);
    case Message::PathsOverlap:
      return trText("Host", "源路径与输出路径重叠：%1 和 %2").arg(path).arg(PathToUtf8(other));
    case Message::NoOutputFolder: break;
  }
  return MessageText(message);
}

}  // namespace tessel
