// SPDX-License-Identifier: GPL-3.0-or-later
#include "library/id3_class.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/case_fold.h"
#include "platform/cp1252.h"
#include "platform/descriptor.h"
#include "platform/numbers.h"
#include "platform/prompts.h"

namespace karvo {
namespace {

struct field {
    std::size_t offset;
    std::size_t width;
    std::string id3_tag::*member;
};

constexpr field fields[] = {
    {3, id3_text_width, &id3_tag::title},    {33, id3_text_width, &id3_tag::artist},
    {63, id3_text_width, &id3_tag::album},   {93, id3_year_width, &id3_tag::year},
    {97, id3_text_width, &id3_tag::comment},
};

using platform::descriptor;

// Opens without blocking (a FIFO named like a file must not hang the editor) and only regular files count.
int open_regular(const std::string& path, int mode, off_t& size) {
    const int fd = ::open(path.c_str(), mode | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return -1;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        errno = EISDIR;
        return -1;
    }
    size = st.st_size;
    return fd;
}

bool read_exactly(int fd, char* buffer, std::size_t count, off_t at) {
    std::size_t done = 0;
    while (done < count) {
        const ssize_t n = ::pread(fd, buffer + done, count - done, at + static_cast<off_t>(done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

bool write_once(int fd, const std::string& bytes, off_t at) {
    ssize_t n;
    do {
        n = ::pwrite(fd, bytes.data(), bytes.size(), at);
    } while (n < 0 && errno == EINTR);
    return n == static_cast<ssize_t>(bytes.size());
}

} // namespace

const string_list& id3_genre_table() {
    static const string_list table = {
        "Blues",
        "Classic Rock",
        "Country",
        "Dance",
        "Disco",
        "Funk",
        "Grunge",
        "Hip-Hop",
        "Jazz",
        "Metal",
        "New Age",
        "Oldies",
        "Other",
        "Pop",
        "R&B",
        "Rap",
        "Reggae",
        "Rock",
        "Techno",
        "Industrial",
        "Alternative",
        "Ska",
        "Death Metal",
        "Pranks",
        "Soundtrack",
        "Euro-Techno",
        "Ambient",
        "Trip-Hop",
        "Vocal",
        "Jazz Funk",
        "Fusion",
        "Trance",
        "Classical",
        "Instrumental",
        "Acid",
        "House",
        "Game",
        "Sound Clip",
        "Gospel",
        "Noise",
        "Alt.Rock",
        "Bass",
        "Soul",
        "Punk",
        "Space",
        "Meditative",
        "Instrumental Pop",
        "Instrumental Rock",
        "Ethnic",
        "Gothic",
        "Darkwave",
        "Techno-Industrial",
        "Electronic",
        "Pop-Folk",
        "Eurodance",
        "Dream",
        "Southern Rock",
        "Comedy",
        "Cult",
        "Gangsta",
        "Top 4",
        "Christian Rap",
        "Pop/Funk",
        "Jungle",
        "Native American",
        "Cabaret",
        "New Wave",
        "Psychadelic",
        "Rave",
        "Showtunes",
        "Trailer",
        "Lo-Fi",
        "Tribal",
        "Acid Punk",
        "Acid Jazz",
        "Polka",
        "Retro",
        "Musical",
        "Rock & Roll",
        "Hard Rock",
        "Folk",
        "Folk/Rock",
        "National Folk",
        "Swing",
        "Fusion",
        "Bebob",
        "Latin",
        "Revival",
        "Celtic",
        "Bluegrass",
        "Avantgarde",
        "Gothic Rock",
        "Progressive Rock",
        "Psychedelic Rock",
        "Symphonic Rock",
        "Slow Rock",
        "Big Band",
        "Chorus",
        "Easy Listening",
        "Acoustic",
        "Humour",
        "Speech",
        "Chanson",
        "Opera",
        "Chamber Music",
        "Sonata",
        "Symphony",
        "Booty Bass",
        "Primus",
        "Porn Groove",
        "Satire",
    };
    return table;
}

std::string id3_genre_name(int number) {
    const string_list& table = id3_genre_table();
    return number >= 0 && number < static_cast<int>(table.size()) ? table[static_cast<std::size_t>(number)]
                                                                  : std::string();
}

int id3_genre_number(const std::string& text) {
    const string_list& table = id3_genre_table();
    for (std::size_t i = 0; i < table.size(); ++i)
        if (platform::equal_ignoring_case(table[i], text))
            return static_cast<int>(i);
    const long long number = platform::to_integer(text, -1);
    const bool digits = !text.empty() && text.size() <= 3 && text.find_first_not_of("0123456789") == std::string::npos;
    return digits && number <= 255 ? static_cast<int>(number) : -1;
}

bool has_id3v2_tag(const std::string& path) {
    off_t size = 0;
    const descriptor fd(open_regular(path, O_RDONLY, size));
    char head[4] = {};
    return fd.get() >= 0 && size >= 10 && read_exactly(fd.get(), head, 4, 0) && std::string_view(head, 3) == "ID3" &&
           static_cast<unsigned char>(head[3]) < 0xFF;
}

id3_class::id3_class() : genres(id3_genre_table()) {}

id3_2_class::id3_2_class(platform::prompts* prompts) : genres(id3_genre_table()), prompts_(prompts) {}

void id3_2_class::report() {
    if (prompts_)
        prompts_->message_box(id3_file_error_text, id3_file_error_caption, platform::message_buttons::ok_cancel,
                              platform::message_icon::none);
}

bool id3_2_class::read_tag(const std::string& path, id3_tag& tag) {
    tag = id3_tag{};
    off_t size = 0;
    const descriptor fd(open_regular(path, O_RDONLY, size));
    if (fd.get() < 0 || size < id3_tag_size)
        return false;
    char block[id3_tag_size];
    if (!read_exactly(fd.get(), block, id3_tag_size, size - id3_tag_size)) {
        report();
        return false;
    }
    last_read.assign(block, id3_tag_size - 1);
    if (std::string_view(block, 3) != "TAG")
        return false;
    for (const field& f : fields) {
        std::string_view stored(block + f.offset, f.width);
        stored = stored.substr(0, stored.find('\0'));
        tag.*f.member = platform::decode_cp1252_to_utf8(stored);
    }
    tag.genre = static_cast<unsigned char>(block[id3_tag_size - 1]);
    if (block[125] == '\0' && block[126] != '\0')
        tag.track = static_cast<unsigned char>(block[126]);
    return true;
}

std::string id3_2_class::encode_tag(const id3_tag& tag) {
    std::string block = "TAG";
    block.reserve(id3_tag_size);
    for (const field& f : fields) {
        std::string text = platform::encode_utf8_to_cp1252(tag.*f.member, f.width);
        text.resize(f.width, ' ');
        block += text;
    }
    // Dropping a track number the comment leaves room for would lose it; a longer comment wins over it.
    const std::string comment = platform::encode_utf8_to_cp1252(tag.comment, id3_text_width);
    const std::size_t comment_end = comment.find_last_not_of(' ') + 1; // npos + 1 == 0 for a blank comment
    const bool with_track = tag.track > 0 && tag.track <= 255 && comment_end <= id3v11_comment_width;
    if (with_track) {
        block[125] = '\0';
        block[126] = static_cast<char>(tag.track);
    }
    block += static_cast<char>(tag.genre & 0xFF);
    return block;
}

bool id3_2_class::write_tag(const std::string& path, const id3_tag& tag) {
    off_t size = 0;
    const descriptor fd(open_regular(path, O_RDWR, size));
    if (fd.get() < 0) {
        report();
        return false;
    }
    std::string old(id3_tag_size, '\0');
    const bool has_block = size >= id3_tag_size && read_exactly(fd.get(), old.data(), old.size(), size - id3_tag_size);
    const bool overwrite = has_block && old.compare(0, 3, "TAG") == 0;
    const off_t at = overwrite ? size - id3_tag_size : size;
    if (!write_once(fd.get(), encode_tag(tag), at)) {
        // A write that stopped half-way is undone: the old bytes go back, an append is cut off again.
        const bool undone = overwrite ? write_once(fd.get(), old, at) : ::ftruncate(fd.get(), size) == 0;
        static_cast<void>(undone); // nothing more can be done; the message says the write failed
        report();
        return false;
    }
    return true;
}

} // namespace karvo
