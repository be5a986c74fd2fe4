#include "host/media/TagReader.h"

#include <taglib/aifffile.h>
#include <taglib/fileref.h>
#include <taglib/mpegfile.h>
#include <taglib/mpegheader.h>
#include <taglib/tpropertymap.h>
#include <taglib/wavfile.h>

#include <algorithm>
#include <array>
#include <cctype>

namespace {

std::string_view extension(std::string_view name)
{
    const std::size_t dot = name.rfind('.');
    return dot == std::string_view::npos ? std::string_view() : name.substr(dot + 1);
}

template <std::size_t N>
bool extensionIn(std::string_view name, const std::array<std::string_view, N>& list)
{
    const std::string_view ext = extension(name);
    if (ext.empty() || ext.size() > 8)
        return false;
    std::string lower(ext);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return std::find(list.begin(), list.end(), lower) != list.end();
}

// The first value of a tag as UTF-8, cut at an embedded NUL.
std::string firstValue(const TagLib::PropertyMap& map, const char* key)
{
    const auto it = map.find(key);
    if (it == map.end() || it->second.isEmpty())
        return {};
    std::string text = it->second.front().to8Bit(true);
    if (const std::size_t nul = text.find('\0'); nul != std::string::npos)
        text.resize(nul);
    return text;
}

bool flagSet(const std::string& value)
{
    std::string v = value;
    std::transform(v.begin(), v.end(), v.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return !v.empty() && v != "0" && v != "false" && v != "no";
}

// Two frame headers in a row, within the first few candidates.
bool hasMpegFrames(TagLib::MPEG::File& file)
{
    long offset = file.firstFrameOffset();
    for (int tries = 0; offset >= 0 && tries < 8; ++tries) {
        if (TagLib::MPEG::Header(&file, offset, true).isValid())
            return true;
        offset = file.nextFrameOffset(offset + 1);
    }
    return false;
}

} // namespace

bool TagReader::isAudioName(std::string_view name)
{
    static constexpr std::array<std::string_view, 20> kAudio = {
        "mp3", "mp2", "flac", "ogg", "oga",  "opus", "spx", "m4a", "m4b", "m4p",
        "mp4", "aac", "wav",  "aif", "aiff", "aifc", "wma", "ape", "wv",  "mpc"};
    return extensionIn(name, kAudio);
}

bool TagReader::isPlaylistName(std::string_view name)
{
    static constexpr std::array<std::string_view, 4> kPlaylists = {"m3u", "m3u8", "pls", "xspf"};
    return extensionIn(name, kPlaylists);
}

std::optional<MediaTags> TagReader::read(const std::string& path)
{
    TagLib::FileRef ref(path.c_str(), false);
    TagLib::File* file = ref.file();
    if (!file || !file->isValid())
        return std::nullopt;
    if (auto* mpeg = dynamic_cast<TagLib::MPEG::File*>(file); mpeg && !hasMpegFrames(*mpeg))
        return std::nullopt;
    const TagLib::PropertyMap map = file->properties();
    if ((dynamic_cast<TagLib::RIFF::WAV::File*>(file) ||
         dynamic_cast<TagLib::RIFF::AIFF::File*>(file)) &&
        map.isEmpty())
        return std::nullopt;
    MediaTags tags;
    tags.album = firstValue(map, "ALBUM");
    tags.albumArtist = firstValue(map, "ALBUMARTIST");
    tags.artist = firstValue(map, "ARTIST");
    tags.composer = firstValue(map, "COMPOSER");
    tags.genre = firstValue(map, "GENRE");
    tags.compilation = flagSet(firstValue(map, "COMPILATION"));
    return tags;
}
