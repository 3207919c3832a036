// Runs the packer command itself: pack, list, unpack, and its answers to
// folders and containers it must refuse.
#include "tests/skin/support/SkinTestData.h"
#include "skin/portable/SkinContainer.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;
using namespace skintest;

namespace {

struct TRun {
    int Status = -1;
    std::string Output;
};

TRun Skinpack(const std::string& args)
{
    TRun run;
    const std::string command = std::string(SKINPACK_EXE) + " " + args + " 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return run;
    char buf[512];
    while (size_t n = fread(buf, 1, sizeof buf, pipe)) run.Output.append(buf, n);
    const int status = pclose(pipe);
    run.Status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return run;
}

void Write(const fs::path& path, const std::vector<uint8_t>& bytes)
{
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                 static_cast<std::streamsize>(bytes.size()));
}

std::vector<uint8_t> Read(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class SkinpackCli : public ::testing::Test {
protected:
    void SetUp() override
    {
        FDir = fs::temp_directory_path() / ("skinpack-test-" + std::to_string(getpid()));
        fs::remove_all(FDir);
        fs::create_directories(FDir / "skin");
    }
    void TearDown() override { fs::remove_all(FDir); }

    fs::path FDir;
};

// Names in the ini text match files without regard to case; the extension
// itself must be ".bmp" exactly.
const std::string kIni = "[Personality]\r\nTop=Top.bmp\r\nLeft = c:\\skins\\LEFT.bmp\r\n; Right=absent.bmp\r\n"
                         "[Buttons]\r\nBitmap=top.bmp\r\n";

} // namespace

TEST_F(SkinpackCli, PacksListsAndUnpacksByteExact)
{
    const auto top = MakeBmp24(90, 30, 1), left = MakeBmp24(4, 200, 2);
    Write(FDir / "skin" / "Skin.ini", Bytes(kIni));
    Write(FDir / "skin" / "Top.bmp", top);
    Write(FDir / "skin" / "LEFT.bmp", left);
    Write(FDir / "skin" / "notes.txt", Bytes("not packed"));

    const TRun pack = Skinpack("pack " + (FDir / "skin").string() + " " + (FDir / "out.skn").string());
    ASSERT_EQ(pack.Status, 0) << pack.Output;
    EXPECT_NE(pack.Output.find("notes.txt"), std::string::npos);

    TSkinReader reader;
    ASSERT_TRUE(reader.ReadSkin(Read(FDir / "out.skn")));
    ASSERT_EQ(reader.Count(), 3); // the ini text first, then each named bitmap once
    EXPECT_EQ(reader.Names(0), "skin.ini");
    EXPECT_EQ(reader.Names(1), "top.bmp");
    EXPECT_EQ(reader.Names(2), "left.bmp");

    const TRun list = Skinpack("list " + (FDir / "out.skn").string());
    ASSERT_EQ(list.Status, 0);
    EXPECT_EQ(list.Output, std::to_string(kIni.size()) + "\tskin.ini\n" + std::to_string(top.size()) +
                               "\ttop.bmp\n" + std::to_string(left.size()) + "\tleft.bmp\n");

    const TRun unpack = Skinpack("unpack " + (FDir / "out.skn").string() + " " + (FDir / "back").string());
    ASSERT_EQ(unpack.Status, 0) << unpack.Output;
    EXPECT_EQ(Read(FDir / "back" / "skin.ini"), Bytes(kIni));
    EXPECT_EQ(Read(FDir / "back" / "top.bmp"), top);
    EXPECT_EQ(Read(FDir / "back" / "left.bmp"), left);
}

TEST_F(SkinpackCli, RefusesFoldersThatAreNotOneSkin)
{
    const std::string pack = "pack " + (FDir / "skin").string() + " " + (FDir / "out.skn").string();
    TRun run = Skinpack(pack);
    EXPECT_EQ(run.Status, 1);
    EXPECT_NE(run.Output.find("exactly one .ini"), std::string::npos) << run.Output;

    Write(FDir / "skin" / "a.ini", Bytes("[A]\nImage=missing.bmp\n"));
    run = Skinpack(pack);
    EXPECT_EQ(run.Status, 1);
    EXPECT_NE(run.Output.find("missing.bmp"), std::string::npos) << run.Output;

    // The program would load these as empty strips, so the packer will not pack them.
    Write(FDir / "skin" / "left.bmp", MakeBmp24(4, 20, 1));
    for (const char* value : {"left.BMP", "c:\\skins\\left.Bmp", "left.bmP"}) {
        Write(FDir / "skin" / "a.ini", Bytes(std::string("[A]\nLeft=") + value + "\n"));
        run = Skinpack(pack);
        EXPECT_EQ(run.Status, 1) << value;
        EXPECT_NE(run.Output.find("lower-case \".bmp\""), std::string::npos) << run.Output;
    }
    EXPECT_FALSE(fs::exists(FDir / "out.skn"));
}

TEST_F(SkinpackCli, BadContainersGiveAMessageAndNonZeroExit)
{
    Write(FDir / "skin" / "a.ini", Bytes("[A]\nImage=t.bmp\n"));
    Write(FDir / "skin" / "t.bmp", RandomBytes(3000, 3));
    ASSERT_EQ(Skinpack("pack " + (FDir / "skin").string() + " " + (FDir / "good.skn").string()).Status, 0);
    const std::vector<uint8_t> good = Read(FDir / "good.skn");

    std::vector<std::vector<uint8_t>> bad = {
        {},
        {1, 2},
        std::vector<uint8_t>(good.begin(), good.begin() + static_cast<ptrdiff_t>(good.size() / 2)),
        CompressContainer(RawUnpacked(19999, "a.ini\r\n", {1}, Bytes("x"))),
        CompressContainer(RawUnpacked(20000, "a\r\nb\r\n", {5, 5}, Bytes("abc"))),
        CompressContainer(RawUnpacked(20000, "../evil\r\n", {1}, Bytes("x"))),
    };
    for (size_t i = 0; i < bad.size(); ++i) {
        Write(FDir / "bad.skn", bad[i]);
        for (const std::string& command : {"list " + (FDir / "bad.skn").string(),
                                           "unpack " + (FDir / "bad.skn").string() + " " + (FDir / "x").string()}) {
            if (i + 1 == bad.size() && command.starts_with("list")) continue; // listing a strange name is fine
            const TRun run = Skinpack(command);
            EXPECT_EQ(run.Status, 1) << i << ": " << command << "\n" << run.Output;
            EXPECT_NE(run.Output.find("skinpack: "), std::string::npos) << i;
        }
    }
    EXPECT_FALSE(fs::exists(FDir / "evil"));
    EXPECT_EQ(Skinpack("frobnicate").Status, 2);
}

TEST_F(SkinpackCli, UnpackSkipsEntriesWithAnEmptyNameAndSaysSo)
{
    Write(FDir / "blank.skn", CompressContainer(RawUnpacked(20000, "a.ini\r\n\r\nb.bmp\r\n", {1, 2, 3}, Bytes("ABBCCC"))));
    const TRun run = Skinpack("unpack " + (FDir / "blank.skn").string() + " " + (FDir / "out").string());
    ASSERT_EQ(run.Status, 0) << run.Output;
    EXPECT_NE(run.Output.find("entry 2 has an empty name"), std::string::npos) << run.Output;
    EXPECT_EQ(Read(FDir / "out" / "a.ini"), Bytes("A"));
    EXPECT_EQ(Read(FDir / "out" / "b.bmp"), Bytes("CCC"));
    EXPECT_EQ(std::distance(fs::directory_iterator(FDir / "out"), fs::directory_iterator()), 2);
}
