// Each listing's first picture is a JPEG that a real decoder reads, and no two look the same.
#include <gtest/gtest.h>

// clang-format off
#include <cstdio>
#include <jpeglib.h>
// clang-format on

#include <set>
#include <string>

#include "simulator/catalogue.h"
#include "simulator/picture.h"

namespace marvolt::sim {
namespace {

struct Decoded {
    bool ok = false;
    unsigned width = 0;
    unsigned height = 0;
    int components = 0;
    std::string pixels;
};

// A picture the decoder only reads with warnings counts as broken; a fatal decoder error ends
// the test process, which fails the test as well.
Decoded Decode(const std::string& jpeg) {
    Decoded result;
    jpeg_decompress_struct info{};
    jpeg_error_mgr error{};
    info.err = jpeg_std_error(&error);
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(jpeg.data()), jpeg.size());
    if (jpeg_read_header(&info, TRUE) == JPEG_HEADER_OK) {
        jpeg_start_decompress(&info);
        result.width = info.output_width;
        result.height = info.output_height;
        result.components = info.output_components;
        std::string row(result.width * static_cast<unsigned>(result.components), '\0');
        while (info.output_scanline < info.output_height) {
            JSAMPROW rows[] = {reinterpret_cast<JSAMPROW>(row.data())};
            jpeg_read_scanlines(&info, rows, 1);
            result.pixels += row;
        }
        jpeg_finish_decompress(&info);
        result.ok = error.num_warnings == 0;
    }
    jpeg_destroy_decompress(&info);
    return result;
}

TEST(PictureTest, EveryPictureDecodesAndDiffersFromTheOthers) {
    const Catalogue catalogue(3);
    std::set<std::string> seen;
    for (std::uint64_t index = 0; index < 24; ++index) {
        const Listing listing = catalogue.Generate(index);
        const std::string jpeg = DrawPicture(listing);
        EXPECT_EQ(jpeg.substr(0, 2), "\xFF\xD8");
        EXPECT_EQ(jpeg.substr(jpeg.size() - 2), "\xFF\xD9");
        const Decoded decoded = Decode(jpeg);
        ASSERT_TRUE(decoded.ok) << "listing " << listing.id;
        EXPECT_EQ(decoded.width, 320u);
        EXPECT_EQ(decoded.height, 240u);
        EXPECT_EQ(decoded.components, 3);
        EXPECT_TRUE(seen.insert(decoded.pixels).second) << "listing " << listing.id;
        // The same listing is drawn the same way every time.
        EXPECT_EQ(DrawPicture(listing), jpeg);
    }
}

}  // namespace
}  // namespace marvolt::sim
