#include "host/media/TagReader.h"

#include "host/media/MpegFrames.h"

#include <taglib/aifffile.h>
#include <taglib/fileref.h>
#include <taglib/flacfile.h>
#include <taglib/id3v1genres.h>
#include <taglib/id3v2header.h>
#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>
#include <taglib/textidentificationframe.h>
#include <taglib/tpropertymap.h>
#include <taglib/wavfile.h>
#include <taglib/xiphcomment.h>

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

std::string utf8(const TagLib::String& value)
{
    std::string text = value.to8Bit(true);
    if (const std::size_t nul = text.find('\0'); nul != std::string::npos)
        text.resize(nul);
    return text;
}

// The first value that is not empty.
std::string first(const TagLib::StringList& values)
{
    for (const TagLib::String& v : values)
        if (!v.isEmpty())
            return utf8(v);
    return {};
}

bool flagSet(const std::string& value)
{
    std::string v = value;
    std::transform(v.begin(), v.end(), v.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return !v.empty() && v != "0" && v != "false" && v != "no";
}

// The frames themselves: cheaper than TagLib's property map, which converts
// every frame of the tag.
MediaTags fromId3v2(const TagLib::ID3v2::Tag& tag)
{
    const TagLib::ID3v2::FrameListMap& map = tag.frameListMap();
    const auto text = [&map](const char* id) {
        const auto it = map.find(id);
        const auto* frame =
            it == map.end() || it->second.isEmpty()
                ? nullptr
                : dynamic_cast<const TagLib::ID3v2::TextIdentificationFrame*>(it->second.front());
        return frame ? frame->fieldList() : TagLib::StringList();
    };
    MediaTags t;
    t.artist = first(text("TPE1"));
    t.album = first(text("TALB"));
    t.albumArtist = first(text("TPE2"));
    t.composer = first(text("TCOM"));
    t.compilation = flagSet(first(text("TCMP")));
    for (const TagLib::String& g : text("TCON")) {
        if (g.isEmpty())
            continue;
        bool number = false;
        const int index = g.toInt(&number);
        t.genre = utf8(number && index >= 0 && index <= 255 ? TagLib::ID3v1::genre(index) : g);
        break;
    }
    return t;
}

// Vorbis comments and TagLib's property map name their fields alike.
template <typename FieldMap> MediaTags fromFields(const FieldMap& map)
{
    const auto field = [&map](const char* key) {
        const auto it = map.find(key);
        return it == map.end() ? std::string() : first(it->second);
    };
    MediaTags t;
    t.artist = field("ARTIST");
    t.album = field("ALBUM");
    t.albumArtist = field("ALBUMARTIST");
    if (t.albumArtist.empty())
        t.albumArtist = field("ALBUM ARTIST");
    t.composer = field("COMPOSER");
    t.genre = field("GENRE");
    t.compilation = flagSet(field("COMPILATION"));
    return t;
}

// A frame header at offset, and with follow also the next one of the same
// stream where the first frame ends.
bool framesAt(TagLib::File& file, long offset, bool follow)
{
    file.seek(offset);
    const TagLib::ByteVector a = file.readBlock(4);
    const auto* ha = reinterpret_cast<const uint8_t*>(a.data());
    const int length = a.size() == 4 ? MpegFrames::frameLength(ha) : 0;
    if (length == 0)
        return false;
    if (!follow)
        return true;
    file.seek(offset + length);
    const TagLib::ByteVector b = file.readBlock(4);
    const auto* hb = reinterpret_cast<const uint8_t*>(b.data());
    return b.size() == 4 && MpegFrames::frameLength(hb) > 0 && MpegFrames::sameStream(ha, hb);
}

bool hasMpegFrames(TagLib::MPEG::File& file)
{
    // Mostly the audio starts right after the tag; a tag with frames already
    // tells it from noise, so one header there will do. Else search as
    // TagLib does, for two frames in a row.
    if (file.hasID3v2Tag() && !file.ID3v2Tag()->frameList().isEmpty() &&
        framesAt(file, static_cast<long>(file.ID3v2Tag()->header()->completeTagSize()), false))
        return true;
    long offset = file.firstFrameOffset();
    for (int tries = 0; offset >= 0 && tries < 8; ++tries) {
        if (framesAt(file, offset, true))
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
    if (auto* mpeg = dynamic_cast<TagLib::MPEG::File*>(file)) {
        if (!hasMpegFrames(*mpeg))
            return std::nullopt;
        if (mpeg->hasID3v2Tag())
            return fromId3v2(*mpeg->ID3v2Tag());
    } else if (auto* flac = dynamic_cast<TagLib::FLAC::File*>(file)) {
        if (flac->hasXiphComment())
            return fromFields(flac->xiphComment()->fieldListMap());
    } else if (auto* xiph = dynamic_cast<TagLib::Ogg::XiphComment*>(file->tag())) {
        return fromFields(xiph->fieldListMap());
    }
    const TagLib::PropertyMap map = file->properties();
    if ((dynamic_cast<TagLib::RIFF::WAV::File*>(file) ||
         dynamic_cast<TagLib::RIFF::AIFF::File*>(file)) &&
        map.isEmpty())
        return std::nullopt;
    return fromFields(map);
}
