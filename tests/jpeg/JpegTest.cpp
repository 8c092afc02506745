#include "app/jpeg/Jpeg.h"
#include "tests/support/BookFixture.h"
#include "tests/support/RunTool.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <optional>
#include <random>
#include <sstream>
#include <string>

#include <jerror.h>
#include <jpeglib.h>

namespace {

using Rgb = std::array<int, 3>;

void SetPixel(jpeg::Image &image, int x, int y, Rgb rgb)
{
    std::uint8_t *p = image.pixels.data() + y * image.bytesPerLine() +
                      x * (image.layout == jpeg::PixelLayout::Rgb ? 3 : 4);
    if (image.layout == jpeg::PixelLayout::Rgb) {
        p[0] = std::uint8_t(rgb[0]), p[1] = std::uint8_t(rgb[1]), p[2] = std::uint8_t(rgb[2]);
    } else {
        p[0] = std::uint8_t(rgb[2]), p[1] = std::uint8_t(rgb[1]), p[2] = std::uint8_t(rgb[0]);
        p[3] = 0xFF;
    }
}

Rgb PixelAt(const jpeg::Image &image, int x, int y)
{
    const std::uint8_t *p = image.pixels.data() + y * image.bytesPerLine() +
                            x * (image.layout == jpeg::PixelLayout::Rgb ? 3 : 4);
    if (image.layout == jpeg::PixelLayout::Rgb)
        return {p[0], p[1], p[2]};
    return {p[2], p[1], p[0]};
}

void ExpectNear(Rgb actual, Rgb expected, int tolerance = 12)
{
    for (int i = 0; i < 3; ++i)
        EXPECT_NEAR(actual[i], expected[i], tolerance) << "channel " << i;
}

constexpr Rgb Red{255, 0, 0};
constexpr Rgb Blue{0, 0, 255};

// Left half red, right half blue.
jpeg::Image TwoColours(int width, int height, jpeg::PixelLayout layout)
{
    jpeg::Image image{width, height, layout, {}};
    image.pixels.resize(image.bytesPerLine() * height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            SetPixel(image, x, y, x < width / 2 ? Red : Blue);
    return image;
}

// Fine detail, so that the transforms differ in their rounding.
jpeg::Image Noise(int width, int height)
{
    jpeg::Image image{width, height, jpeg::PixelLayout::Rgb, {}};
    image.pixels.resize(image.bytesPerLine() * height);
    std::uint32_t state = 12345;
    for (std::uint8_t &byte : image.pixels) {
        state = state * 1103515245u + 12345u;
        byte = std::uint8_t(state >> 24);
    }
    return image;
}

void WritePpm(const std::filesystem::path &path, const jpeg::Image &image)
{
    const std::string header =
        "P6\n" + std::to_string(image.width) + " " + std::to_string(image.height) + "\n255\n";
    Bytes bytes(header.begin(), header.end());
    bytes.insert(bytes.end(), image.pixels.begin(), image.pixels.end());
    WriteFileBytes(path, bytes);
}

// The pixel bytes of a binary PPM as djpeg writes it.
Bytes PpmPixels(const Bytes &ppm)
{
    std::size_t offset = 0;
    for (int fields = 0; fields < 4; ++offset)
        if (ppm[offset] == '\n' || ppm[offset] == ' ')
            ++fields;
    return {ppm.begin() + std::ptrdiff_t(offset), ppm.end()};
}

// The picture encoded by the reference encoder with the given options.
Bytes ReferenceEncoding(const jpeg::Image &image, const QStringList &options)
{
    TempDir dir;
    WritePpm(dir / "in.ppm", image);
    const QString out = QString::fromStdString((dir / "out.jpg").string());
    if (!RunTool("cjpeg", options + QStringList{"-outfile", out,
                                                QString::fromStdString((dir / "in.ppm").string())}))
        return {};
    return ReadFileBytes(out.toStdString());
}

// The progressive picture with its last scan repeated until it holds the given number of
// scans; libjpeg warns about the coefficients a repeated scan sends again, and goes on.
Bytes WithScanCount(const Bytes &jpeg, int scans)
{
    std::vector<std::size_t> starts; // of each scan's marker; 0xFF 0xDA appears nowhere else
    for (std::size_t i = 0; i + 1 < jpeg.size(); ++i)
        if (jpeg[i] == 0xFF && jpeg[i + 1] == 0xDA)
            starts.push_back(i);
    const auto end = std::ptrdiff_t(jpeg.size() - 2); // the end-of-image marker
    const Bytes last(jpeg.begin() + std::ptrdiff_t(starts.back()), jpeg.begin() + end);
    Bytes result(jpeg.begin(), jpeg.begin() + end);
    for (int i = int(starts.size()); i < scans; ++i)
        result.insert(result.end(), last.begin(), last.end());
    result.insert(result.end(), {0xFF, 0xD9});
    return result;
}

// Found by the fuzzer: 106 bytes whose frame header declares 56080 x 2815 four-component
// pixels, which took half a gigabyte and seconds to fill from nothing.
const Bytes FuzzedHugeCmyk{
    0xff, 0xd8, 0xff, 0xdb, 0x00, 0x43, 0x00, 0x08, 0x06, 0x06, 0x07, 0x06, 0x05, 0x08, 0x07, 0x07,
    0x07, 0x09, 0x08, 0x08, 0x0a, 0x0c, 0x14, 0x0d, 0xff, 0xc1, 0x0b, 0x0c, 0x19, 0x12, 0x13, 0x0f,
    0x14, 0x1d, 0x1f, 0x1e, 0x1d, 0x1a, 0x1c, 0x1c, 0x20, 0x24, 0x2e, 0x27, 0x20, 0x22, 0x2c, 0x23,
    0x1c, 0x1c, 0x28, 0x34, 0x29, 0x2c, 0x30, 0x31, 0x34, 0x34, 0x34, 0x1f, 0x27, 0xb9, 0x39, 0x3d,
    0x38, 0x32, 0x3c, 0x2e, 0x33, 0x34, 0x32, 0xff, 0xc0, 0x00, 0x14, 0x08, 0x0a, 0xff, 0xdb, 0x10,
    0x04, 0x43, 0x11, 0x00, 0x4d, 0x11, 0x00, 0x59, 0x11, 0x00, 0x4b, 0x11, 0x00, 0xff, 0xda, 0x00,
    0x0e, 0x04, 0x43, 0x00, 0x4d, 0x00, 0x59, 0x00, 0x4b, 0x00};

struct RoundTripCase {
    jpeg::Decoding decoding;
    jpeg::PixelLayout layout;
};

class JpegRoundTrip : public ::testing::TestWithParam<RoundTripCase> {};

TEST_P(JpegRoundTrip, KeepsSizeAndColours)
{
    const auto [decoding, layout] = GetParam();
    const Bytes encoded = jpeg::Encode(TwoColours(40, 24, layout));
    const jpeg::Image decoded = jpeg::Decode(encoded, decoding, layout);

    EXPECT_EQ(decoded.width, 40);
    EXPECT_EQ(decoded.height, 24);
    EXPECT_EQ(decoded.layout, layout);
    ASSERT_EQ(decoded.pixels.size(), decoded.bytesPerLine() * 24);
    ExpectNear(PixelAt(decoded, 4, 12), Red);
    ExpectNear(PixelAt(decoded, 36, 12), Blue);
    if (layout == jpeg::PixelLayout::Bgra) {
        for (std::size_t i = 3; i < decoded.pixels.size(); i += 4)
            ASSERT_EQ(decoded.pixels[i], 0xFF) << "alpha byte " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(
    AllModes, JpegRoundTrip,
    ::testing::Values(RoundTripCase{jpeg::Decoding::Accurate, jpeg::PixelLayout::Rgb},
                      RoundTripCase{jpeg::Decoding::Accurate, jpeg::PixelLayout::Bgra},
                      RoundTripCase{jpeg::Decoding::Fast, jpeg::PixelLayout::Rgb},
                      RoundTripCase{jpeg::Decoding::Fast, jpeg::PixelLayout::Bgra}),
    [](const ::testing::TestParamInfo<RoundTripCase> &test) {
        return std::string(test.param.decoding == jpeg::Decoding::Fast ? "Fast" : "Accurate") +
               (test.param.layout == jpeg::PixelLayout::Rgb ? "Rgb" : "Bgra");
    });

TEST(JpegEncode, MatchesTheReferenceEncoderAtQuality70Baseline)
{
    TempDir dir;
    const jpeg::Image image = Noise(37, 21);
    WritePpm(dir / "in.ppm", image);
    ASSERT_TRUE(RunTool("cjpeg", {"-quality", "70", "-baseline", "-outfile",
                                  QString::fromStdString((dir / "ref.jpg").string()),
                                  QString::fromStdString((dir / "in.ppm").string())}));

    EXPECT_EQ(jpeg::Encode(image), ReadFileBytes(dir / "ref.jpg"));
}

TEST(JpegEncode, TakesBgraPixelsAsTheSameColours)
{
    jpeg::Image rgb = TwoColours(16, 16, jpeg::PixelLayout::Rgb);
    jpeg::Image bgra = TwoColours(16, 16, jpeg::PixelLayout::Bgra);
    EXPECT_EQ(jpeg::Encode(rgb), jpeg::Encode(bgra));
}

// Each decoding is the reference decoder's transform of the same name, pixel for pixel.
TEST(JpegDecode, AccurateAndFastMatchTheReferenceDecoder)
{
    TempDir dir;
    const Bytes encoded = jpeg::Encode(Noise(64, 48));
    WriteFileBytes(dir / "in.jpg", encoded);
    const std::array<std::pair<jpeg::Decoding, QString>, 2> cases{
        {{jpeg::Decoding::Accurate, "int"}, {jpeg::Decoding::Fast, "fast"}}};
    std::vector<Bytes> decodings;
    for (const auto &[decoding, dct] : cases) {
        const QString out = QString::fromStdString((dir / ("out-" + dct.toStdString())).string());
        ASSERT_TRUE(RunTool("djpeg", {"-dct", dct, "-ppm", "-outfile", out,
                                      QString::fromStdString((dir / "in.jpg").string())}));
        decodings.push_back(jpeg::Decode(encoded, decoding, jpeg::PixelLayout::Rgb).pixels);
        EXPECT_EQ(decodings.back(), PpmPixels(ReadFileBytes(out.toStdString())))
            << dct.toStdString();
    }
    EXPECT_NE(decodings[0], decodings[1]) << "the picture does not tell the transforms apart";
}

// Decoded at libjpeg's DCT scale, pixel for pixel what the reference decoder gives at it: the
// smallest M/8 whose output is not below the wanted size, full scale when none is.
TEST(JpegDecodeInto, TakesTheSmallestScaleNotBelowTheWantedSize)
{
    TempDir dir;
    const Bytes encoded = jpeg::Encode(Noise(801, 601));
    WriteFileBytes(dir / "in.jpg", encoded);
    const struct {
        jpeg::Dimensions wanted;
        int m;
        jpeg::Dimensions output; // libjpeg rounds up
    } cases[] = {
        {{0, 0}, 1, {101, 76}},     {{101, 76}, 1, {101, 76}},     {{102, 10}, 2, {201, 151}},
        {{10, 152}, 3, {301, 226}}, {{700, 1}, 7, {701, 526}},     {{801, 601}, 8, {801, 601}},
        {{802, 10}, 8, {801, 601}}, {{2000, 2000}, 8, {801, 601}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(std::to_string(c.wanted.width) + " x " + std::to_string(c.wanted.height));
        jpeg::Dimensions full{};
        Bytes pixels;
        const jpeg::Dimensions output = jpeg::DecodeInto(
            encoded, jpeg::Decoding::Accurate, jpeg::PixelLayout::Rgb,
            [&](jpeg::Dimensions size) {
                full = size;
                return c.wanted;
            },
            [&](jpeg::Dimensions size, std::size_t bytesPerLine) {
                pixels.resize(bytesPerLine * std::size_t(size.height));
                return pixels.data();
            });
        EXPECT_EQ(full.width, 801);
        EXPECT_EQ(full.height, 601);
        EXPECT_EQ(output.width, c.output.width);
        EXPECT_EQ(output.height, c.output.height);

        const QString out = QString::fromStdString((dir / "out.ppm").string());
        ASSERT_TRUE(RunTool("djpeg", {"-scale", QString("%1/8").arg(c.m), "-ppm", "-outfile", out,
                                      QString::fromStdString((dir / "in.jpg").string())}));
        EXPECT_TRUE(pixels == PpmPixels(ReadFileBytes(out.toStdString())));
    }
}

// What a decoding gives: the pixels and their size, or the library's message code.
struct Outcome {
    jpeg::Dimensions size;
    Bytes pixels;
    int code = 0;
};

template <typename Decode> Outcome OutcomeOf(Decode decode)
{
    Outcome outcome;
    try {
        outcome.size = decode([&](jpeg::Dimensions size, std::size_t bytesPerLine) {
            outcome.pixels.resize(bytesPerLine * std::size_t(size.height));
            return outcome.pixels.data();
        });
    } catch (const jpeg::JpegError &error) {
        outcome.code = error.messageCode();
    }
    return outcome;
}

TEST(JpegDecodeInto, LimitsBoundThePictureOrItsOutput)
{
    const Bytes huge = WithFrameSize(jpeg::Encode(Noise(16, 16)), 16000, 16000);
    const Bytes large = WithFrameSize(jpeg::Encode(Noise(16, 16)), 5000, 5000);
    const Bytes progressive = ReferenceEncoding(Noise(256, 256), {"-progressive"});
    ASSERT_FALSE(progressive.empty());
    const jpeg::Limits outputOnly{.picturePixels = std::numeric_limits<std::uint64_t>::max(),
                                  .outputPixels = std::uint64_t{1} << 24};
    const struct {
        const char *what;
        const Bytes &picture;
        jpeg::Limits limits;
        std::optional<jpeg::Dimensions> wanted;
        int code;
        jpeg::Dimensions output;
    } cases[] = {
        {"by default the full size is bounded, whatever the wanted size",
         huge,
         {},
         {{64, 64}},
         JERR_IMAGE_TOO_BIG,
         {}},
        {"bounding the output instead decodes it scaled down",
         huge,
         outputOnly,
         {{64, 64}},
         0,
         {2000, 2000}},
        {"or refuses it when even that scale is too large",
         huge,
         outputOnly,
         {{4001, 4001}},
         JERR_IMAGE_TOO_BIG,
         {}},
        {"without a wanted size the output is the full size",
         large,
         outputOnly,
         std::nullopt,
         JERR_IMAGE_TOO_BIG,
         {}},
        {"within the working memory", progressive, {}, std::nullopt, 0, {256, 256}},
        {"over the working memory",
         progressive,
         {.workingMemory = 64L << 10},
         std::nullopt,
         JERR_NO_BACKING_STORE,
         {}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        jpeg::WantedSize wanted;
        if (c.wanted)
            wanted = [&](jpeg::Dimensions) { return *c.wanted; };
        const Outcome outcome = OutcomeOf([&](const jpeg::PixelTarget &target) {
            return jpeg::DecodeInto(c.picture, jpeg::Decoding::Fast, jpeg::PixelLayout::Rgb, wanted,
                                    target, c.limits);
        });
        EXPECT_EQ(outcome.code, c.code);
        EXPECT_EQ(outcome.size.width, c.output.width);
        EXPECT_EQ(outcome.size.height, c.output.height);
    }
}

// A span of a stream decodes as its bytes alone would, whatever stands before and after it,
// and is read no further than its end.
TEST(JpegDecodeStream, DecodesItsSpanAsItsBytesAlone)
{
    const Bytes picture = jpeg::Encode(Noise(96, 64));
    Bytes commented = picture; // two comments, so that skipping one crosses a read block
    Bytes comment{0xFF, 0xFE, 0xFF, 0xF0};
    comment.resize(0xFFF0 + 2, 'c');
    for (int i = 0; i < 2; ++i)
        commented.insert(commented.begin() + 2, comment.begin(), comment.end());
    const auto cut = [&](std::size_t size) {
        return Bytes(picture.begin(), picture.begin() + std::ptrdiff_t(size));
    };
    const struct {
        const char *what;
        Bytes span;
    } cases[] = {
        {"the whole picture", picture},
        {"a picture cut short in its data", cut(picture.size() / 2)},
        {"a picture cut short in its header", cut(30)},
        {"a picture behind comments longer than a read block", commented},
    };
    std::mt19937 random(7);
    const auto noise = [&](std::size_t size) {
        std::string bytes(size, 0);
        for (char &byte : bytes)
            byte = char(random());
        return bytes;
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        const std::string before = noise(1000);
        std::stringstream stream(before + std::string(c.span.begin(), c.span.end()) + noise(5000));
        const jpeg::StreamSpan span{stream, std::int64_t(before.size()),
                                    std::int64_t(c.span.size())};

        const Outcome expected = OutcomeOf([&](const jpeg::PixelTarget &target) {
            return jpeg::DecodeInto(c.span, jpeg::Decoding::Fast, jpeg::PixelLayout::Bgra, {},
                                    target);
        });
        const Outcome decoded = OutcomeOf([&](const jpeg::PixelTarget &target) {
            return jpeg::DecodeStreamInto(span, jpeg::Decoding::Fast, jpeg::PixelLayout::Bgra, {},
                                          target);
        });
        EXPECT_EQ(decoded.code, expected.code);
        EXPECT_EQ(decoded.size.width, expected.size.width);
        EXPECT_EQ(decoded.size.height, expected.size.height);
        EXPECT_TRUE(decoded.pixels == expected.pixels);
        EXPECT_LE(std::int64_t(stream.tellg()), span.offset + span.length);

        if (expected.code == 0) {
            const jpeg::Dimensions size = jpeg::ReadStreamDimensions(span);
            EXPECT_EQ(size.width, 96);
            EXPECT_EQ(size.height, 64);
        } else {
            EXPECT_THROW(jpeg::ReadStreamDimensions(span), jpeg::JpegError);
        }
    }
}

TEST(JpegDecode, GreyAndCmykPicturesComeOutInColour)
{
    TempDir dir;
    WritePpm(dir / "red.ppm", TwoColours(16, 16, jpeg::PixelLayout::Rgb));
    const QString source = QString::fromStdString((dir / "red.ppm").string());
    const QString grey = QString::fromStdString((dir / "grey.jpg").string());
    const QString cmyk = QString::fromStdString((dir / "cmyk.jpg").string());
    ASSERT_TRUE(RunTool("cjpeg", {"-grayscale", "-outfile", grey, source}));
    ASSERT_TRUE(RunTool("gm", {"convert", source, "-colorspace", "CMYK", cmyk}));

    const jpeg::Image fromGrey =
        jpeg::DecodeFile(grey.toStdString(), jpeg::Decoding::Accurate, jpeg::PixelLayout::Bgra);
    const Rgb left = PixelAt(fromGrey, 2, 8);
    EXPECT_EQ(left[0], left[1]);
    EXPECT_EQ(left[1], left[2]);
    EXPECT_NEAR(left[0], 76, 8); // luma of pure red

    const jpeg::Image fromCmyk =
        jpeg::DecodeFile(cmyk.toStdString(), jpeg::Decoding::Accurate, jpeg::PixelLayout::Rgb);
    ExpectNear(PixelAt(fromCmyk, 2, 8), Red, 20);
    ExpectNear(PixelAt(fromCmyk, 13, 8), Blue, 20);
}

TEST(JpegDecode, IgnoresWhatFollowsThePicture)
{
    Bytes chained = jpeg::Encode(TwoColours(24, 8, jpeg::PixelLayout::Rgb));
    const Bytes second = jpeg::Encode(TwoColours(8, 40, jpeg::PixelLayout::Rgb));
    chained.insert(chained.end(), second.begin(), second.end());
    chained.insert(chained.end(), {0x12, 0x34, 0x56, 0x78});

    const jpeg::Image decoded =
        jpeg::Decode(chained, jpeg::Decoding::Accurate, jpeg::PixelLayout::Rgb);
    EXPECT_EQ(decoded.width, 24);
    EXPECT_EQ(decoded.height, 8);
    EXPECT_EQ(jpeg::ReadDimensions(chained).width, 24);
}

// The library would print "Premature end of JPEG file" on its own.
TEST(JpegDecode, TruncatedPictureDecodesToItsFullSizeSilently)
{
    Bytes encoded = jpeg::Encode(Noise(64, 64));
    encoded.resize(encoded.size() / 2);
    ::testing::internal::CaptureStderr();
    const jpeg::Image decoded =
        jpeg::Decode(encoded, jpeg::Decoding::Accurate, jpeg::PixelLayout::Rgb);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(decoded.width, 64);
    EXPECT_EQ(decoded.height, 64);
}

TEST(JpegDecode, ProgressivePicturesDecodeUpToTheScanLimit)
{
    const Bytes progressive =
        ReferenceEncoding(TwoColours(16, 16, jpeg::PixelLayout::Rgb), {"-progressive"});
    ASSERT_FALSE(progressive.empty());
    for (const Bytes &picture : {progressive, WithScanCount(progressive, jpeg::MaxScans)}) {
        const jpeg::Image decoded =
            jpeg::Decode(picture, jpeg::Decoding::Accurate, jpeg::PixelLayout::Rgb);
        ExpectNear(PixelAt(decoded, 2, 8), Red);
        ExpectNear(PixelAt(decoded, 13, 8), Blue);
    }
}

// The most compressible picture there is, a blank page, needs the least data for the work its
// scans ask for: it stays within the bound on that work, coded either way.
TEST(JpegDecode, ABlankProgressivePageDecodes)
{
    jpeg::Image blank{2896, 2896, jpeg::PixelLayout::Rgb, {}};
    blank.pixels.assign(blank.bytesPerLine() * std::size_t(blank.height), 0xFF);
    for (const QStringList &options :
         {QStringList{"-progressive"}, QStringList{"-progressive", "-arithmetic"}}) {
        SCOPED_TRACE(options.join(' ').toStdString());
        const Bytes page = ReferenceEncoding(blank, options + QStringList{"-sample", "1x1"});
        ASSERT_FALSE(page.empty());
        const jpeg::Image decoded =
            jpeg::Decode(page, jpeg::Decoding::Fast, jpeg::PixelLayout::Rgb);
        EXPECT_EQ(decoded.width, 2896);
        ExpectNear(PixelAt(decoded, 1000, 1000), {255, 255, 255});
    }
}

struct ErrorCase {
    const char *name;
    Bytes bytes;
    int code;
    bool headerReadable; // ReadDimensions succeeds on it
};

TEST(JpegDecode, BadDataRaisesTheLibraryMessageCode)
{
    const Bytes good = jpeg::Encode(TwoColours(16, 16, jpeg::PixelLayout::Rgb));
    const Bytes progressive = ReferenceEncoding(TwoColours(16, 16, jpeg::PixelLayout::Rgb),
                                                {"-progressive", "-sample", "1x1"});
    ASSERT_FALSE(progressive.empty());
    Bytes badPrecision = good;
    for (std::size_t i = 0; i + 4 < badPrecision.size(); ++i)
        if (badPrecision[i] == 0xFF && badPrecision[i + 1] == 0xC0)
            badPrecision[i + 4] = 7;
    const std::vector<ErrorCase> cases{
        {"empty", {}, JERR_INPUT_EMPTY, false},
        {"not a picture", {'h', 'e', 'l', 'l', 'o', '!'}, JERR_NO_SOI, false},
        {"bad sample precision", badPrecision, JERR_BAD_PRECISION, false},
        {"too large to hold", WithFrameSize(good, 60000, 60000), JERR_IMAGE_TOO_BIG, true},
        {"one row over the pixel limit", WithFrameSize(good, 8192, 4097), JERR_IMAGE_TOO_BIG, true},
        {"fuzzed: a tiny file declaring a huge picture", FuzzedHugeCmyk, JERR_IMAGE_TOO_BIG, true},
        {"progressive, its coefficients over the working memory",
         WithFrameSize(progressive, 5000, 5000), JERR_NO_BACKING_STORE, true},
        {"more scans than the limit", WithScanCount(progressive, jpeg::MaxScans + 1),
         JERR_BAD_PROGRESSION, true},
        {"a small file whose scans pass again and again over a large picture",
         WithFrameSize(progressive, 2896, 2896), JERR_IMAGE_TOO_BIG, true},
    };
    for (const ErrorCase &c : cases) {
        SCOPED_TRACE(c.name);
        for (const jpeg::Decoding decoding : {jpeg::Decoding::Accurate, jpeg::Decoding::Fast}) {
            try {
                jpeg::Decode(c.bytes, decoding, jpeg::PixelLayout::Bgra);
                ADD_FAILURE() << "decoded";
            } catch (const jpeg::JpegError &error) {
                EXPECT_EQ(error.messageCode(), c.code);
                EXPECT_EQ(std::string(error.what()), "Erreur JPEG #" + std::to_string(c.code));
                EXPECT_FALSE(error.outOfMemory());
            }
        }
        if (c.headerReadable)
            EXPECT_NO_THROW(jpeg::ReadDimensions(c.bytes));
        else
            EXPECT_THROW(jpeg::ReadDimensions(c.bytes), jpeg::JpegError);
    }
}

TEST(JpegDimensions, ComeFromTheHeaderAlone)
{
    const Bytes header = WithFrameSize(jpeg::Encode(Noise(16, 16)), 60000, 45000);
    const jpeg::Dimensions size = jpeg::ReadDimensions(header);
    EXPECT_EQ(size.width, 60000);
    EXPECT_EQ(size.height, 45000);
}

TEST(JpegDecodeFile, ReadsTheFileOrNamesItInTheError)
{
    TempDir dir;
    WriteFileBytes(dir / "page.jpg", jpeg::Encode(TwoColours(30, 10, jpeg::PixelLayout::Rgb)));
    const jpeg::Image decoded =
        jpeg::DecodeFile(dir / "page.jpg", jpeg::Decoding::Accurate, jpeg::PixelLayout::Rgb);
    EXPECT_EQ(decoded.width, 30);
    ExpectNear(PixelAt(decoded, 2, 5), Red);

    try {
        jpeg::DecodeFile(dir / "absent.jpg", jpeg::Decoding::Accurate, jpeg::PixelLayout::Rgb);
        ADD_FAILURE() << "decoded a missing file";
    } catch (const FileReadError &error) {
        EXPECT_EQ(std::string(error.what()),
                  "Impossible d'ouvrir le fichier " + (dir / "absent.jpg").string() + ".");
    }
}

} // namespace
