#include "simulator/picture.h"

// clang-format off
#include <cstdio>
#include <jpeglib.h>
// clang-format on

#include <algorithm>
#include <csetjmp>
#include <cstdlib>
#include <stdexcept>
#include <vector>

#include "simulator/catalogue_data.h"
#include "simulator/random.h"

namespace marvolt::sim {

namespace {

constexpr int kWidth = 320;
constexpr int kHeight = 240;

struct Rgb {
    int r, g, b;
};

class Canvas {
  public:
    Canvas() : pixels_(static_cast<std::size_t>(kWidth * kHeight * 3), 0) {}

    void Set(int x, int y, Rgb c) {
        if (x < 0 || y < 0 || x >= kWidth || y >= kHeight) {
            return;
        }
        auto* p = &pixels_[static_cast<std::size_t>((y * kWidth + x) * 3)];
        p[0] = static_cast<unsigned char>(std::clamp(c.r, 0, 255));
        p[1] = static_cast<unsigned char>(std::clamp(c.g, 0, 255));
        p[2] = static_cast<unsigned char>(std::clamp(c.b, 0, 255));
    }
    void Rect(int x0, int y0, int x1, int y1, Rgb c) {
        for (int y = y0; y < y1; ++y) {
            for (int x = x0; x < x1; ++x) {
                Set(x, y, c);
            }
        }
    }
    // A trapezoid: top edge from xt0 to xt1 at y0, bottom edge from xb0 to xb1 at y1.
    void Trapezoid(int y0, int y1, int xt0, int xt1, int xb0, int xb1, Rgb c) {
        for (int y = y0; y < y1; ++y) {
            const int t = y1 - y0 > 0 ? (y - y0) * 256 / (y1 - y0) : 0;
            const int a = xt0 + (xb0 - xt0) * t / 256;
            const int b = xt1 + (xb1 - xt1) * t / 256;
            for (int x = a; x < b; ++x) {
                Set(x, y, c);
            }
        }
    }
    void Disc(int cx, int cy, int radius, Rgb c) {
        for (int y = cy - radius; y <= cy + radius; ++y) {
            for (int x = cx - radius; x <= cx + radius; ++x) {
                if ((x - cx) * (x - cx) + (y - cy) * (y - cy) <= radius * radius) {
                    Set(x, y, c);
                }
            }
        }
    }
    void Wheel(int cx, int cy, int radius) {
        Disc(cx, cy, radius, {28, 28, 30});
        Disc(cx, cy, radius * 5 / 10, {170, 174, 180});
        Disc(cx, cy, radius * 2 / 10, {90, 92, 96});
    }
    unsigned char* Row(int y) { return &pixels_[static_cast<std::size_t>(y * kWidth * 3)]; }

  private:
    std::vector<unsigned char> pixels_;
};

Rgb Shade(Rgb c, int percent) {
    return {c.r * percent / 100, c.g * percent / 100, c.b * percent / 100};
}

void Background(Canvas& canvas, Random& random) {
    const Rgb top{random.Between(60, 150), random.Between(120, 190), random.Between(170, 240)};
    const Rgb bottom{std::min(255, top.r + 90), std::min(255, top.g + 60),
                     std::min(255, top.b + 15)};
    const int pattern = random.Between(0, 2);
    const int period = random.Between(10, 28);
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            Rgb c{top.r + (bottom.r - top.r) * y / kHeight,
                  top.g + (bottom.g - top.g) * y / kHeight,
                  top.b + (bottom.b - top.b) * y / kHeight};
            const bool mark = pattern == 0   ? ((x + y) / period) % 2 == 0
                              : pattern == 1 ? (x % period < 3 && y % period < 3)
                                             : (y / period) % 2 == 0;
            canvas.Set(x, y, mark ? Shade(c, 92) : c);
        }
    }
    // Showroom floor or yard.
    const Rgb ground{random.Between(90, 140), random.Between(90, 130), random.Between(80, 110)};
    canvas.Rect(0, 178, kWidth, kHeight, ground);
    canvas.Rect(0, 176, kWidth, 178, Shade(ground, 70));
}

void DrawCar(Canvas& canvas, Rgb body) {
    canvas.Trapezoid(92, 128, 110, 215, 80, 250, Shade(body, 85));
    canvas.Trapezoid(98, 124, 116, 158, 98, 158, {150, 180, 200});
    canvas.Trapezoid(98, 124, 164, 209, 164, 238, {150, 180, 200});
    canvas.Rect(40, 126, 285, 172, body);
    canvas.Rect(40, 150, 285, 153, Shade(body, 70));
    canvas.Rect(276, 132, 285, 142, {250, 240, 190});
    canvas.Rect(40, 134, 47, 144, {200, 30, 30});
    canvas.Wheel(95, 172, 22);
    canvas.Wheel(232, 172, 22);
}

void DrawMotorcycle(Canvas& canvas, Rgb body) {
    canvas.Wheel(92, 168, 32);
    canvas.Wheel(232, 168, 32);
    canvas.Trapezoid(120, 150, 120, 205, 135, 190, {60, 62, 66});
    canvas.Trapezoid(104, 128, 140, 200, 130, 210, body);
    canvas.Trapezoid(112, 122, 95, 140, 95, 140, {25, 25, 28});
    canvas.Trapezoid(90, 168, 210, 218, 228, 236, {150, 150, 155});
    canvas.Rect(205, 88, 222, 94, {40, 40, 40});
}

void DrawTruck(Canvas& canvas, Rgb body) {
    canvas.Rect(28, 62, 198, 166, {225, 226, 228});
    canvas.Rect(28, 62, 198, 70, Shade(body, 80));
    canvas.Rect(204, 84, 284, 166, body);
    canvas.Rect(214, 94, 276, 124, {150, 180, 200});
    canvas.Rect(24, 160, 288, 170, {50, 50, 54});
    canvas.Wheel(70, 172, 20);
    canvas.Wheel(118, 172, 20);
    canvas.Wheel(248, 172, 20);
}

struct JpegError {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
};

void OnJpegError(j_common_ptr info) {
    std::longjmp(reinterpret_cast<JpegError*>(info->err)->jump, 1);
}

// Plain C state only between setjmp and longjmp, so no destructor is skipped.
bool Compress(Canvas& canvas, unsigned char** buffer, unsigned long* size) {
    jpeg_compress_struct info{};
    JpegError error{};
    info.err = jpeg_std_error(&error.manager);
    error.manager.error_exit = OnJpegError;
    if (setjmp(error.jump) != 0) {
        jpeg_destroy_compress(&info);
        return false;
    }
    jpeg_create_compress(&info);
    jpeg_mem_dest(&info, buffer, size);
    info.image_width = kWidth;
    info.image_height = kHeight;
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 82, TRUE);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = canvas.Row(static_cast<int>(info.next_scanline));
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    return true;
}

}  // namespace

std::string DrawPicture(const Listing& listing) {
    Random random(listing.pictureSeed);
    Canvas canvas;
    Background(canvas, random);
    Rgb body{200, 200, 200};
    for (const auto& colour : data::Colours()) {
        if (colour.name == listing.colour) {
            body = {colour.red, colour.green, colour.blue};
        }
    }
    switch (listing.kind) {
        case VehicleKind::Motorcycles:
            DrawMotorcycle(canvas, body);
            break;
        case VehicleKind::Trucks:
            DrawTruck(canvas, body);
            break;
        default:
            DrawCar(canvas, body);
            break;
    }
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    const bool done = Compress(canvas, &buffer, &size);
    std::string jpeg =
        done ? std::string(reinterpret_cast<const char*>(buffer), size) : std::string();
    std::free(buffer);
    if (!done) {
        throw std::runtime_error("could not encode the picture of listing " +
                                 std::to_string(listing.id));
    }
    return jpeg;
}

}  // namespace marvolt::sim
