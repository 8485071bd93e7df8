// Readable codec names of compression codes.
#include "MediaDetailsTestSupport.h"
#include "media/uMediaDetails.h"

#include <gtest/gtest.h>

namespace {

// Every key of the codec table, in its order.
const char* const AllKeys[] = {
    "3iv1", "3iv2", "aasc", "adv1", "advj", "aem1", "afl1", "aflc", "ampg", "anim", "ap41", "asv1",
    "asv2", "asvx", "aur2", "aura", "avrn", "bink", "bt20", "btcv", "bw10", "cc12", "cdvc", "cfcc",
    "cgdi", "cham", "cmyk", "cjpg", "cpla", "cram", "cvid", "cwlt", "cyuv", "cyuy", "d261", "d263",
    "div3", "div4", "div5", "divx", "dmb1", "dmb2", "dsvd", "duck", "dv25", "dv50", "dvsd", "dve2",
    "dvx1", "dvx2", "dvx3", "dx50", "dxtn", "elk0", "ekq0", "escp", "etv1", "etv2", "etvc", "fljp",
    "frwa", "frwd", "fvf1", "glzw", "gpeg", "gwlt", "h260", "h261", "h262", "h263", "h264", "h265",
    "h266", "h267", "h268", "h269", "hfyu", "hmcr", "hmrr", "i263", "iclb", "igor", "ijpg", "ilvc",
    "ir21", "iraw", "iv30", "iv31", "iv32", "iv33", "iv34", "iv35", "iv36", "iv37", "iv38", "iv39",
    "iv40", "iv41", "iv42", "iv43", "iv44", "iv45", "iv46", "iv47", "iv48", "iv49", "iv50", "jbyr",
    "jpeg", "jpgl", "kmvc", "l261", "l263", "lcmw", "lead", "lgry", "ljpg", "m261", "m263", "m4s2",
    "mc12", "mcam", "mj2c", "mjpg", "mmes", "mp2a", "mp2t", "mp2v", "mp42", "mp43", "mp4a", "mp4t",
    "mp4v", "mp4s", "mpeg", "mpg4", "mpgi", "mrca", "mrle", "msvc", "mszh", "mtx1", "mtx2", "mtx3",
    "mtx4", "mtx5", "mtx6", "mtx7", "mtx8", "mtx9", "mwv1", "ntn1", "nvds", "nvhs", "nvvu", "nvs0",
    "nvs1", "nvs2", "nvs3", "nvs4", "nvs5", "nvt0", "nvt1", "nvt2", "nvt3", "nvt4", "nvt5", "pdvc",
    "pgvv", "phmo", "pim1", "pim2", "pimj", "pixl", "pvez", "pvmm", "pvw2", "qpeg", "rgbt", "rle ",
    "rle4", "rle8", "rmp4", "rt21", "rv20", "rv30", "rvx ", "s422", "san3", "sdcc", "sfmc", "smsc",
    "smsd", "smsv", "sp54", "spig", "sqz2", "sv10", "stva", "stvb", "stvc", "stvx", "stvy", "svq1",
    "tlms", "tlst", "tm20", "tm2x", "tmic", "tmot", "tr20", "tscc", "tv10", "tvjp", "tvmj", "ty2c",
    "ty2n", "ty0n", "ucod", "ulti", "v261", "v655", "vcr1", "vcr2", "vdct", "vdom", "vdow", "vdtz",
    "vgpx", "vifp", "vids", "vivo", "vixl", "vlv1", "vp30", "vp31", "vssv", "vx1k", "vx2k", "vxsp",
    "vyu9", "vyuy", "wbvc", "wham", "winx", "wjpg", "wnv1", "wmv2", "wmv3", "x263", "xvid", "xlv0",
    "xmpg", "xwv0", "xwv1", "xwv2", "xwv3", "xwv4", "xwv5", "xwv6", "xwv7", "xwv8", "xwv9", "y411",
    "y41p", "yc12", "yuv8", "yuy2", "yuyv", "zpeg", "zygo",
};

TEST(MediaDetailsCodecTest, EveryKeyIsKnownInAnyLetterCase)
{
    ASSERT_EQ(std::size(AllKeys), 271u);
    for (const char* key : AllKeys) {
        const QString lower = QString::fromLatin1(key);
        const QString description = GetCodecDescription(lower);
        EXPECT_NE(description, "Unknown Codec") << key;
        EXPECT_FALSE(description.trimmed().isEmpty()) << key;
        EXPECT_EQ(GetCodecDescription(lower.toUpper()), description) << key;
    }
}

TEST(MediaDetailsCodecTest, NamedRowsGiveTheirDescriptions)
{
    const std::pair<const char*, const char*> cases[] = {
        {"3iv1", "Video Codec Used - 3IVX"},
        {"3IV2", "Video Codec Used - 3IVX"},
        {"aasc", "Video Codec Used - Autodesk Animator"},
        {"afl1", "Video Codec Used - Autodesk Animator"},
        {"aflc", "Video Codec Used - Autodesk Animator"},
        {"adv1", "Video Codec Used - Wave Codec"},
        {"advj", "Video Codec Used - Avid M-JPEG"},
        {"aem1", "Video Codec Used - Array VideoONE"},
        {"ampg", "Video Codec Used - Array VideoONE"},
        {"anim", "Video Codec Used - Intel RDX"},
        {"ap41", "Video Codec Used - Angel Potion"},
        {"asv1", "Video Codec Used - ASUS Video"},
        {"asv2", "ASUS Video 2"},
        {"cvid", "Cinepak"},
        {"cram", "MS Video 1"},
        {"msvc", "MS Video 1 - Original VFW!"},
        {"DIVX", "DivX"},
        {"div3", "DivX 3"},
        {"div4", "DivX 4"},
        {"div5", "DivX 5"},
        {"DX50", "DivX 5"},
        {"san3", "Direct DivX 3.11a Copy"},
        {"XVID", "XVID MPEG-4"},
        {"XviD", "XVID MPEG-4"},
        {"xvid", "XVID MPEG-4"},
        {"MP42", "MS MPEG-4"},
        {"MP43", "MS MPEG-4"},
        {"WMV2", "Windows Media Video 2"},
        {"WMV3", "Windows Media Video 3"},
        {"MJPG", "Motion JPEG"},
        {"mpeg", "MPEG"},
        {"YUY2", "RAW YUV 4:2:2"},
        {"vids", "YUV 4:2:2 CCIR 601"},
        {"rle ", "Run Length Encoded"},
        {"RVX ", "Intel RDX"},
        {"dvsd", "microVideo DV300SW Firewire"},
        {"iv32", "Intel Indeo 3.2"},
        {"IV50", "Intel Indeo 5.0 Interactive"},
    };
    for (const auto& [key, description] : cases)
        EXPECT_EQ(GetCodecDescription(key), description) << key;
}

TEST(MediaDetailsCodecTest, RunsOfKeysShareOneDescription)
{
    const auto expectRun = [](const QString& prefix, const QString& suffixes, const char* description) {
        for (QChar suffix : suffixes)
            EXPECT_EQ(GetCodecDescription(prefix + suffix), description) << (prefix + suffix).toStdString();
    };
    expectRun("h26", "0123456789", "Intel Conferencing");
    expectRun("iv3", "013456789", "Intel Indeo 3");
    expectRun("iv4", "0123456789", "Intel Indeo 4.1 Interactive");
    expectRun("mtx", "123456789", "Matrox MJPEG Variant");
    expectRun("xwv", "0123456789", "XiWave Video");
    expectRun("nvs", "012345", "Nvidia Texture Format");
    expectRun("nvt", "012345", "Nvidia Texture Format");
    for (const char* key : {"nvds", "nvhs", "nvvu"})
        EXPECT_EQ(GetCodecDescription(key), "Nvidia Texture Format") << key;
    expectRun("stv", "abcxy", "ST CMOS Imager Data");
}

TEST(MediaDetailsCodecTest, OnlyAnExactKeyMatches)
{
    for (const char* text : {"", "rgb", "RGB", "rle", "rle  ", " rle", "xvid ", "xvi", "h270", "mtx0",
                             "\u00C9TV1", "\u212AMVC"})  // the Kelvin sign is not an ASCII K
        EXPECT_EQ(GetCodecDescription(QString::fromUtf8(text)), "Unknown Codec") << text;
}

}  // namespace
