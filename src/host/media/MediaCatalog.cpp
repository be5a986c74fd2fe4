#include "host/media/MediaCatalog.h"

#include <algorithm>
#include <string_view>
#include <unordered_set>
#include <utility>

namespace {

bool equalsIgnoringCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c + 32) : c; };
               return lower(x) == lower(y);
           });
}

// True when a folder on the way from the music folder to the file has this name.
bool belowFolderNamed(std::string_view path, std::string_view name)
{
    std::size_t start = 0;
    for (std::size_t slash = path.find('/'); slash != std::string_view::npos;
         slash = path.find('/', start)) {
        if (equalsIgnoringCase(path.substr(start, slash - start), name))
            return true;
        start = slash + 1;
    }
    return false;
}

bool endsWithIgnoringCase(std::string_view text, std::string_view suffix)
{
    return text.size() >= suffix.size() &&
           equalsIgnoringCase(text.substr(text.size() - suffix.size()), suffix);
}

std::string_view parentFolder(std::string_view path)
{
    const std::size_t slash = path.rfind('/');
    if (slash == std::string_view::npos)
        return {}; // directly in the music folder
    const std::string_view folder = path.substr(0, slash);
    const std::size_t before = folder.rfind('/');
    return before == std::string_view::npos ? folder : folder.substr(before + 1);
}

// Album artist and title joined by a byte no tag text holds after the cut at NUL.
std::string albumKey(const MediaTags& tags)
{
    const std::string& by = tags.albumArtist.empty() ? tags.artist : tags.albumArtist;
    std::string key = by;
    key += '\0';
    key += tags.album;
    return key;
}

} // namespace

void MediaCatalog::add(MediaEntry entry)
{
    m_entries.push_back(std::move(entry));
}

MediaCatalog::Kind MediaCatalog::kindOf(const MediaEntry& entry)
{
    const std::string& genre = entry.tags.genre;
    const std::string& path = entry.relativePath;
    if (equalsIgnoringCase(genre, "Podcast") || belowFolderNamed(path, "Podcasts"))
        return Kind::Podcast;
    if (endsWithIgnoringCase(path, ".m4b") || equalsIgnoringCase(genre, "Audiobook") ||
        belowFolderNamed(path, "Audiobooks"))
        return Kind::Audiobook;
    return Kind::Music;
}

int32_t MediaCatalog::count(MediaQuery query) const
{
    if (query == MediaQuery::Playlists)
        return m_playlists;
    std::unordered_set<std::string> distinct;
    int32_t songs = 0;
    for (const MediaEntry& e : m_entries) {
        const Kind kind = kindOf(e);
        const MediaTags& t = e.tags;
        const auto collect = [&distinct](const std::string& value) {
            if (!value.empty())
                distinct.insert(value);
        };
        switch (query) {
        case MediaQuery::Podcasts:
        case MediaQuery::Audiobooks:
            if (kind == (query == MediaQuery::Podcasts ? Kind::Podcast : Kind::Audiobook))
                collect(t.album.empty() ? std::string(parentFolder(e.relativePath)) : t.album);
            continue;
        default:
            break;
        }
        if (kind != Kind::Music)
            continue;
        switch (query) {
        case MediaQuery::Songs:
            ++songs;
            break;
        case MediaQuery::Albums:
            if (!t.album.empty())
                distinct.insert(albumKey(t));
            break;
        case MediaQuery::Compilations:
            if (!t.album.empty() && t.compilation)
                distinct.insert(albumKey(t));
            break;
        case MediaQuery::Artists:
            collect(t.artist);
            break;
        case MediaQuery::Composers:
            collect(t.composer);
            break;
        case MediaQuery::Genres:
            collect(t.genre);
            break;
        default:
            break;
        }
    }
    if (query == MediaQuery::Songs)
        return songs;
    return static_cast<int32_t>(std::min<std::size_t>(distinct.size(), INT32_MAX));
}
