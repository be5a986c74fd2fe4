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

struct PairHash {
    std::size_t operator()(const std::pair<std::string_view, std::string_view>& p) const
    {
        const std::hash<std::string_view> h;
        return h(p.first) * 31 + h(p.second);
    }
};
using AlbumSet = std::unordered_set<std::pair<std::string_view, std::string_view>, PairHash>;

} // namespace

void MediaCatalog::add(std::string_view relativePath, MediaTags tags)
{
    const Kind kind = kindOf(relativePath, tags);
    std::string show;
    if (kind != Kind::Music)
        show = tags.album.empty() ? std::string(parentFolder(relativePath)) : tags.album;
    m_entries.push_back(Item{kind, std::move(tags), std::move(show)});
}

MediaCatalog::Kind MediaCatalog::kindOf(std::string_view path, const MediaTags& tags)
{
    if (equalsIgnoringCase(tags.genre, "Podcast") || belowFolderNamed(path, "Podcasts"))
        return Kind::Podcast;
    if (endsWithIgnoringCase(path, ".m4b") || equalsIgnoringCase(tags.genre, "Audiobook") ||
        belowFolderNamed(path, "Audiobooks"))
        return Kind::Audiobook;
    return Kind::Music;
}

std::array<int32_t, kMediaQueryCount> MediaCatalog::counts() const
{
    // Views into the items: nothing is copied while counting.
    using Set = std::unordered_set<std::string_view>;
    Set artists, composers, genres, podcasts, audiobooks;
    AlbumSet albums, compilations;
    int32_t songs = 0;
    const auto collect = [](Set& set, const std::string& value) {
        if (!value.empty())
            set.insert(value);
    };
    for (const Item& item : m_entries) {
        const MediaTags& t = item.tags;
        if (item.kind != Kind::Music) {
            collect(item.kind == Kind::Podcast ? podcasts : audiobooks, item.show);
            continue;
        }
        ++songs;
        if (!t.album.empty()) {
            const std::pair<std::string_view, std::string_view> key{
                t.albumArtist.empty() ? t.artist : t.albumArtist, t.album};
            if (t.compilation)
                compilations.insert(key);
            albums.insert(key);
        }
        collect(artists, t.artist);
        collect(composers, t.composer);
        collect(genres, t.genre);
    }
    const auto size = [](const auto& set) {
        return static_cast<int32_t>(std::min<std::size_t>(set.size(), INT32_MAX));
    };
    std::array<int32_t, kMediaQueryCount> out{};
    out[int(MediaQuery::Songs)] = songs;
    out[int(MediaQuery::Albums)] = size(albums);
    out[int(MediaQuery::Artists)] = size(artists);
    out[int(MediaQuery::Podcasts)] = size(podcasts);
    out[int(MediaQuery::Audiobooks)] = size(audiobooks);
    out[int(MediaQuery::Composers)] = size(composers);
    out[int(MediaQuery::Genres)] = size(genres);
    out[int(MediaQuery::Playlists)] = m_playlists;
    out[int(MediaQuery::Compilations)] = size(compilations);
    return out;
}
