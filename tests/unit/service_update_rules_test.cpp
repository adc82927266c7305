#include <gtest/gtest.h>

#include <map>

#include "service/package_digest.h"
#include "service/update_progress.h"
#include "service/update_rules.h"

namespace pagelark {
namespace {

TEST(UpdateAddress, SplitsHttpHttpsAndBareHosts) {
    auto http = SplitUpdateAddress("http://updates.telvoro.com/pagelark/Pagelark-1.1.msi");
    ASSERT_TRUE(http);
    EXPECT_FALSE(http->secure);
    EXPECT_EQ(http->host, "updates.telvoro.com");
    EXPECT_EQ(http->port, 80);
    EXPECT_EQ(http->path, "/pagelark/Pagelark-1.1.msi");

    // The scheme must not end up as the host.
    auto https = SplitUpdateAddress("HTTPS://secure.telvoro.com/p/x.msi");
    ASSERT_TRUE(https);
    EXPECT_TRUE(https->secure);
    EXPECT_EQ(https->host, "secure.telvoro.com");
    EXPECT_EQ(https->port, 443);
    EXPECT_EQ(https->path, "/p/x.msi");

    auto noPath = SplitUpdateAddress("http://updates.telvoro.com");
    ASSERT_TRUE(noPath);
    EXPECT_EQ(noPath->host, "updates.telvoro.com");
    EXPECT_EQ(noPath->path, "/");

    auto noScheme = SplitUpdateAddress("updates.telvoro.com/a.msi");
    ASSERT_TRUE(noScheme);
    EXPECT_EQ(noScheme->host, "updates.telvoro.com");
    EXPECT_FALSE(noScheme->secure);

    auto port = SplitUpdateAddress("https://localhost:9600/pagelark/updates/a.msi");
    ASSERT_TRUE(port);
    EXPECT_EQ(port->host, "localhost");
    EXPECT_EQ(port->port, 9600);
}

TEST(UpdateAddress, RefusesAddressesWithoutAUsableHost) {
    for (const char* bad : {"", "http://", "https:///x.msi", "http://host:0/x", "http://host:70000/x", "http://host:8a/x",
                            "http://user@host/x", "http://ho st/x"})
        EXPECT_FALSE(SplitUpdateAddress(bad)) << bad;
}

TEST(UpdateFileName, TakesTheNameAfterABackslashOnlyForMsiPaths) {
    EXPECT_EQ(UpdateFileName("/pagelark/updates/Pagelark-1.1.msi"), "Pagelark.msi");   // no backslash
    EXPECT_EQ(UpdateFileName("/pagelark\\Pagelark-1.1.msi"), "Pagelark-1.1.msi");
    EXPECT_EQ(UpdateFileName("/pagelark\\Pagelark-1.1.MSI"), "Pagelark-1.1.MSI");
    EXPECT_EQ(UpdateFileName("/pagelark\\readme.txt"), "Pagelark.msi");
    EXPECT_EQ(UpdateFileName(""), "Pagelark.msi");
    // Names that would leave the day's folder or are no file name at all.
    EXPECT_EQ(UpdateFileName("/x\\a/../../evil.msi"), "Pagelark.msi");
    EXPECT_EQ(UpdateFileName("/x\\C:evil.msi"), "Pagelark.msi");
    EXPECT_EQ(UpdateFileName("/x\\.msi"), "Pagelark.msi");
    EXPECT_EQ(UpdateFileName("/x\\..msi"), "Pagelark.msi");
}

TEST(UpdateDayFolder, IsTwoDigitsEachOfYearMonthDay) {
    EXPECT_EQ(UpdateDayFolder(2026, 12, 8), "261208");
    EXPECT_EQ(UpdateDayFolder(2009, 1, 31), "090131");
    EXPECT_EQ(UpdateDayFolder(2100, 7, 4), "000704");
}

TEST(UpdateInstall, ParametersAndLogLine) {
    const std::string params = MsiexecParameters("C:\\u\\261208\\Pagelark.msi", "C:\\u\\261208\\Update.log");
    EXPECT_EQ(params,
              "/i \"C:\\u\\261208\\Pagelark.msi\" REINSTALL=ALL REINSTALLMODE=vamus /qb /l*+ \"C:\\u\\261208\\Update.log\"");
    EXPECT_EQ(UpdateLogFirstLine(params), "msiexec " + params + "\n");
}

TEST(UpdateBlocks, KnownSizeReadsThreeHundredBlocksAndTheRest) {
    EXPECT_EQ(UpdateBlockLength(3000000), 10000u);
    EXPECT_EQ(KnownSizeProgressText("Downloading", 3000000, 3000000), "Downloading\n3000k / 3000k");
    EXPECT_EQ(KnownSizeProgressText("Downloading", 0, 3000000), "Downloading\n0k / 3000k");
    // A tiny package: the block reads read nothing, the last read asks for everything.
    EXPECT_EQ(UpdateBlockLength(250), 0u);
    DownloadTally tiny(250);
    for (int i = 0; i < kUpdateProgressSteps; ++i) tiny.Add(UpdateBlockLength(250));
    EXPECT_EQ(tiny.Remaining(), 250u);
    tiny.Add(250);
    EXPECT_TRUE(tiny.Complete());
    // 1,000,001 bytes: 300 blocks of 3333 leave 101 for the last read.
    DownloadTally odd(1000001);
    for (int i = 0; i < kUpdateProgressSteps; ++i) odd.Add(UpdateBlockLength(1000001));
    EXPECT_EQ(odd.Remaining(), 101u);
    EXPECT_EQ(UnknownSizeProgressText("Downloading", 12345), "Downloading\n12k");
}

TEST(UpdateBlocks, ExpectedSizeFromLengthOrAnnouncement) {
    EXPECT_EQ(ExpectedUpdateSize("3000000", 5), 3000000u);
    EXPECT_EQ(ExpectedUpdateSize("", 4711), 4711u);
    EXPECT_EQ(ExpectedUpdateSize("", 0), 0u);
    EXPECT_EQ(ExpectedUpdateSize("", -3), 0u);
    EXPECT_EQ(ExpectedUpdateSize("12x", 7), 7u);
    EXPECT_EQ(ExpectedUpdateSize("99999999999", 7), 7u);
}

TEST(UpdateBlocks, ShortOrOverlongDownloadsAreNotComplete) {
    DownloadTally shortOne(3000000);
    shortOne.Add(1500000);
    EXPECT_FALSE(shortOne.Complete());
    EXPECT_EQ(shortOne.Remaining(), 1500000u);
    DownloadTally overrun(100);
    overrun.Add(100);
    overrun.NoteOverrun();
    EXPECT_FALSE(overrun.Complete());
    DownloadTally unknownEmpty(0);
    EXPECT_FALSE(unknownEmpty.Complete());
    unknownEmpty.Add(1);
    EXPECT_TRUE(unknownEmpty.Complete());
}

// A compound file held in memory.
class FakeStorage : public StorageView {
public:
    std::map<std::u16string, std::string> streams;
    std::map<std::u16string, std::shared_ptr<FakeStorage>> storages;
    std::array<std::uint8_t, 16> classId{};
    std::optional<std::vector<StorageEntry>> Entries() override {
        std::vector<StorageEntry> list;
        for (auto& [name, bytes] : streams) list.push_back({name, false});
        for (auto& [name, s] : storages) list.push_back({name, true});
        std::reverse(list.begin(), list.end());   // the walk must sort for itself
        return list;
    }
    std::optional<std::string> ReadStream(const std::u16string& name) override { return streams.at(name); }
    std::unique_ptr<StorageView> OpenStorage(const std::u16string& name) override {
        return std::make_unique<FakeStorage>(*storages.at(name));
    }
    std::array<std::uint8_t, 16> ClassId() override { return classId; }
};

class Collect : public DigestSink {
public:
    std::string bytes;
    void Add(std::string_view b) override { bytes.append(b); }
};

TEST(PackageDigest, WalksStreamsInStoredNameOrderWithoutTheSignature) {
    // Byte order of UTF-16LE: U+0141 ("A" + 0x100) sorts between "A" and "B" by its low byte.
    EXPECT_TRUE(MsiDigestOrderLess(u"A", u"B"));
    EXPECT_TRUE(MsiDigestOrderLess(u"\u0141", u"B"));
    EXPECT_TRUE(MsiDigestOrderLess(u"A", u"\u0141"));
    EXPECT_TRUE(MsiDigestOrderLess(u"AB", u"ABC"));
    EXPECT_FALSE(MsiDigestOrderLess(u"ABC", u"AB"));

    FakeStorage root;
    root.classId[0] = 0xC1;
    root.streams[u"B"] = "bee";
    root.streams[u"A"] = "ay";
    root.streams[u"E"] = "";
    root.streams[kMsiSignatureStream] = "signature";
    auto sub = std::make_shared<FakeStorage>();
    sub->streams[u"x"] = "inner";
    sub->classId[15] = 0x5E;
    root.storages[u"C"] = sub;
    Collect sink;
    ASSERT_TRUE(HashMsiContent(root, sink));
    std::string expected = "aybee" "inner" + std::string(15, '\0') + "\x5E" + "\xC1" + std::string(15, '\0');
    EXPECT_EQ(sink.bytes, expected);
}

TEST(PackageDigest, ReadsTheSignedDigestFromIndirectData) {
    // SEQUENCE { SEQUENCE { OID 1.3.6.1.4.1.311.2.1.30, ... }, SEQUENCE { SEQUENCE { OID sha256, NULL }, OCTET STRING } }
    const std::string data = std::string("\x30\x0C\x06\x0A\x2B\x06\x01\x04\x01\x82\x37\x02\x01\x1E", 14);
    const std::string algorithm = std::string("\x30\x0D\x06\x09\x60\x86\x48\x01\x65\x03\x04\x02\x01\x05\x00", 15);
    const std::string digest = std::string("\x04\x04\xDE\xAD\xBE\xEF", 6);
    const std::string info = "\x30" + std::string(1, static_cast<char>(algorithm.size() + digest.size())) + algorithm + digest;
    const std::string body = data + info;
    const std::string der = "\x30" + std::string(1, static_cast<char>(body.size())) + body;
    auto signed_ = ReadSignedDigest(der);
    ASSERT_TRUE(signed_);
    EXPECT_EQ(signed_->algorithmOid, "2.16.840.1.101.3.4.2.1");
    EXPECT_EQ(signed_->digest, "\xDE\xAD\xBE\xEF");
    // Wrapped in an OCTET STRING, as some decoders hand out the content.
    auto wrapped = ReadSignedDigest("\x04" + std::string(1, static_cast<char>(der.size())) + der);
    ASSERT_TRUE(wrapped);
    EXPECT_EQ(wrapped->digest, "\xDE\xAD\xBE\xEF");
    // Cut short anywhere: no digest, no crash.
    for (size_t n = 0; n < der.size(); ++n) EXPECT_FALSE(ReadSignedDigest(der.substr(0, n))) << n;
    EXPECT_FALSE(ReadSignedDigest(der + "x"));
}

}  // namespace
}  // namespace pagelark
