// The desktop's thumbnail cache on real files: names by the standard,
// validity by time and size, thumbnails written by another program, failure
// entries, the Trash and renames, and previews that last across launches.

#include "ThumbnailStore.h"

#include "AppTestSupport.h"
#include "ImageFixtures.h"
#include "files/FileUrl.h"
#include "images/ThumbnailCache.h"

#include <gdk-pixbuf/gdk-pixbuf.h>
#include <png.h>

#include <sys/stat.h>
#include <utime.h>

#include <cstdio>

namespace mirelo::test {
namespace {

class ThumbnailCacheTest : public AppModelTest {
protected:
    std::string root() const { return files / "thumbnails"; }
    ThumbnailCache cache() const { return ThumbnailCache(root(), "mirelo-test"); }
    MediaItem picture(const std::string& name, int width, int height)
    {
        EXPECT_TRUE(saveWithVips(markedPicture(width, height), files / name));
        return *MediaItem::read(files / name);
    }
    static QImage loaded(ThumbnailStore& store, const MediaItem& item)
    {
        std::optional<QImage> result;
        auto request = store.load(item, [&](QImage image) { result = image; });
        EXPECT_TRUE(waitUntil([&] { return result.has_value(); }));
        return result.value_or(QImage());
    }
    // Moves the file's time by `seconds`, as an edit would.
    static void touch(const std::string& path, int seconds)
    {
        struct stat attributes {};
        ASSERT_EQ(::stat(path.c_str(), &attributes), 0);
        const utimbuf times{attributes.st_atime, attributes.st_mtime + seconds};
        ASSERT_EQ(::utime(path.c_str(), &times), 0);
    }
};

TEST_F(ThumbnailCacheTest, NamesFollowTheStandard)
{
    struct Case {
        const char* path;
        const char* name;
    };
    for (const Case& c : std::vector<Case>{
             {"/home/jens/photos/me.png", "c6ee772d9e49320e97ec29a7eb5b1697.png"}, // the standard's own example
             {"/tmp/Café #1.jpg", "95b18775423d2bf969503fd694a3c20a.png"},         // file:///tmp/Caf%C3%A9%20%231.jpg
         })
        EXPECT_EQ(ThumbnailCache::entryName(c.path), c.name) << c.path;
    EXPECT_STREQ(ThumbnailCache::folderFor(100), "normal");
    EXPECT_STREQ(ThumbnailCache::folderFor(480), "x-large");
    EXPECT_STREQ(ThumbnailCache::folderFor(3000), "xx-large");
    // Every byte of a name makes the URL GLib makes, so that the desktop and
    // Mirelo find each other's thumbnails.
    for (int byte = 1; byte < 256; ++byte) {
        const std::string path = std::string("/tmp/a") + char(byte) + "b";
        gchar* theirs = g_filename_to_uri(path.c_str(), nullptr, nullptr);
        ASSERT_NE(theirs, nullptr);
        EXPECT_EQ(fileUrlString(path), theirs) << byte;
        g_free(theirs);
    }
}

TEST_F(ThumbnailCacheTest, AThumbnailHoldsWhileTheFileIsUnchanged)
{
    const MediaItem item = picture("photo.jpg", 1200, 800);
    const std::string path(item.path());
    ASSERT_TRUE(cache().store(path, markedPicture(480, 320), 256, {1200, 800}));
    const std::string entry = root() + "/large/" + ThumbnailCache::entryName(path);
    struct stat written {
    }, attributes{};
    ASSERT_EQ(::stat(entry.c_str(), &written), 0);
    EXPECT_EQ(written.st_mode & 0777, 0600u) << "thumbnails are the user's alone";
    ASSERT_EQ(::stat(path.c_str(), &attributes), 0);
    EXPECT_EQ(cache().find(path, 256).size(), QSize(256, 170)) << "written at the standard's size";
    EXPECT_EQ(cache().find(path, 128).size(), QSize(128, 85)) << "scaled down to what is asked";
    EXPECT_TRUE(cache().find(path, 512).isNull());
    // Other programs read it as the standard says.
    GdkPixbuf* theirs = gdk_pixbuf_new_from_file(entry.c_str(), nullptr);
    ASSERT_NE(theirs, nullptr);
    EXPECT_STREQ(gdk_pixbuf_get_option(theirs, "tEXt::Thumb::URI"), fileUrlString(path).c_str());
    EXPECT_STREQ(gdk_pixbuf_get_option(theirs, "tEXt::Thumb::MTime"), std::to_string(attributes.st_mtime).c_str());
    g_object_unref(theirs);

    touch(path, 10);
    EXPECT_TRUE(cache().find(path, 256).isNull()) << "the file changed since";

    // A FIFO where the entry should be is passed over, never waited on.
    ::unlink(entry.c_str());
    ASSERT_EQ(::mkfifo(entry.c_str(), 0600), 0);
    EXPECT_TRUE(cache().find(path, 256).isNull());
}

// A file manager's thumbnail, written as the standard says, is used as it is.
TEST_F(ThumbnailCacheTest, AnotherProgramsThumbnailIsRead)
{
    const MediaItem item = picture("photo.jpg", 1200, 800);
    const std::string path(item.path());
    struct stat attributes {};
    ASSERT_EQ(::stat(path.c_str(), &attributes), 0);
    // Written with GdkPixbuf, as GNOME's thumbnailers and file managers write them.
    auto writeTheirs = [&](long long mtime) {
        std::filesystem::create_directories(root() + "/large");
        GdkPixbuf* pixbuf = gdk_pixbuf_new(GDK_COLORSPACE_RGB, TRUE, 8, 256, 171);
        gdk_pixbuf_fill(pixbuf, 0x3366ccff);
        const std::string uri = fileUrlString(path), time = std::to_string(mtime);
        const std::string file = root() + "/large/" + ThumbnailCache::entryName(path);
        const gboolean saved =
            gdk_pixbuf_save(pixbuf, file.c_str(), "png", nullptr, "tEXt::Thumb::URI", uri.c_str(), "tEXt::Thumb::MTime",
                            time.c_str(), "tEXt::Software", "A file manager", nullptr);
        g_object_unref(pixbuf);
        return saved == TRUE;
    };
    ASSERT_TRUE(writeTheirs(attributes.st_mtime - 5));
    ThumbnailStore stale(1, cache());
    EXPECT_EQ(loaded(stale, item).size(), QSize(256, 171)) << "a stale thumbnail is decoded again";
    EXPECT_EQ(stale.decodes(), 1);

    ASSERT_TRUE(writeTheirs(attributes.st_mtime));
    ThumbnailStore fresh(1, cache());
    EXPECT_EQ(loaded(fresh, item).size(), QSize(256, 171));
    EXPECT_EQ(fresh.decodes(), 0) << "shown without being decoded";
}

TEST_F(ThumbnailCacheTest, PreviewsAndFailuresLastAcrossLaunches)
{
    const MediaItem item = picture("photo.jpg", 1200, 800);
    writeBytes(files / "broken.png", "not a picture");
    const MediaItem broken = *MediaItem::read(files / "broken.png");
    {
        ThumbnailStore first(1, cache());
        EXPECT_EQ(loaded(first, item).size(), QSize(256, 171));
        EXPECT_TRUE(loaded(first, broken).isNull());
        EXPECT_EQ(first.decodes(), 2);
    }
    EXPECT_TRUE(cache().failedBefore(std::string(broken.path())));
    ThumbnailStore next(1, cache());
    EXPECT_EQ(loaded(next, item).size(), QSize(256, 171));
    EXPECT_TRUE(loaded(next, broken).isNull());
    EXPECT_EQ(next.decodes(), 0) << "the next launch decodes nothing";

    // Repaired, the file is tried again.
    ASSERT_TRUE(saveWithVips(markedPicture(64, 48), files / "broken.png"));
    touch(files / "broken.png", 10);
    EXPECT_FALSE(cache().failedBefore(files / "broken.png"));
}

TEST_F(ThumbnailCacheTest, EntriesFollowTheTrashAndRenames)
{
    const MediaItem item = picture("photo.jpg", 1200, 800);
    const std::string path(item.path()), renamed = files / "renamed.jpg";
    ASSERT_TRUE(cache().store(path, markedPicture(480, 320), 256));
    ASSERT_EQ(::rename(path.c_str(), renamed.c_str()), 0);
    cache().move(path, renamed);
    EXPECT_EQ(cache().find(renamed, 256).size(), QSize(256, 170));
    EXPECT_FALSE(exists(root() + "/large/" + ThumbnailCache::entryName(path)));

    cache().forget(renamed);
    EXPECT_TRUE(cache().find(renamed, 256).isNull());
    EXPECT_FALSE(exists(root() + "/large/" + ThumbnailCache::entryName(renamed)));
}

// What another program wrote is input: an entry larger than its folder's
// size is refused, a small picture's own small thumbnail is kept, and the
// texts are read whatever chunk holds them (Qt writes long ones as zTXt).
TEST_F(ThumbnailCacheTest, EntriesAreReadAsTheStandardSaysAndNoLarger)
{
    const MediaItem item = picture("photo.jpg", 1200, 800);
    const std::string path(item.path());
    struct stat attributes {};
    ASSERT_EQ(::stat(path.c_str(), &attributes), 0);
    auto writeTheirs = [&](const std::string& folder, int width, int height, int compression) {
        std::filesystem::create_directories(root() + "/" + folder);
        const std::string file = root() + "/" + folder + "/" + ThumbnailCache::entryName(path);
        std::FILE* out = std::fopen(file.c_str(), "wb");
        png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
        png_infop info = png_create_info_struct(png);
        png_init_io(png, out);
        png_set_IHDR(png, info, png_uint_32(width), png_uint_32(height), 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                     PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
        std::string uri = fileUrlString(path), time = std::to_string(attributes.st_mtime);
        png_text texts[2] = {};
        texts[0].compression = compression;
        texts[0].key = const_cast<char*>("Thumb::URI");
        texts[0].text = uri.data();
        texts[1].compression = PNG_TEXT_COMPRESSION_NONE;
        texts[1].key = const_cast<char*>("Thumb::MTime");
        texts[1].text = time.data();
        png_set_text(png, info, texts, 2);
        png_write_info(png, info);
        std::vector<png_byte> row(size_t(width) * 3, 0x80);
        for (int y = 0; y < height; ++y) png_write_row(png, row.data());
        png_write_end(png, info);
        png_destroy_write_struct(&png, &info);
        std::fclose(out);
    };
    writeTheirs("large", 4096, 2731, PNG_TEXT_COMPRESSION_zTXt);
    EXPECT_TRUE(cache().find(path, 256).isNull()) << "4096 pixels are no thumbnail of 256";
    writeTheirs("large", 256, 171, PNG_TEXT_COMPRESSION_zTXt);
    EXPECT_EQ(cache().find(path, 256).size(), QSize(256, 171)) << "a compressed URI is read";
    writeTheirs("large", 256, 171, PNG_ITXT_COMPRESSION_zTXt);
    EXPECT_EQ(cache().find(path, 256).size(), QSize(256, 171)) << "so is compressed international text";

    // A picture smaller than the size asked keeps its own size, once.
    const MediaItem small = picture("small.png", 100, 60);
    ThumbnailStore first(1, cache());
    EXPECT_EQ(loaded(first, small).size(), QSize(100, 60));
    ThumbnailStore next(1, cache());
    EXPECT_EQ(loaded(next, small).size(), QSize(100, 60));
    EXPECT_EQ(next.decodes(), 0);
}

// A file moved to the Trash and brought back by Undo keeps its thumbnail.
TEST_F(ThumbnailCacheTest, UndoBringsTheThumbnailBack)
{
    std::filesystem::create_directories(files / "Pics");
    const MediaItem item = picture("Pics/photo.jpg", 1200, 800);
    const std::string path(item.path());
    ASSERT_TRUE(cache().store(path, markedPicture(256, 171), 256));
    auto model = launchIndexing("Pics");
    model->setThumbnailCache(cache());
    model->requestTrash({item});
    model->trashConfirmed();
    ASSERT_TRUE(waitUntil([&] { return !model->busy() && !exists(path); }));
    model->undoTrash();
    ASSERT_TRUE(waitUntil([&] { return !model->busy() && exists(path); }));
    EXPECT_EQ(cache().find(path, 256).size(), QSize(256, 171));
}

} // namespace
} // namespace mirelo::test
