// Arbitrary bytes as a data file. Loading it: a file that holds a whole image which decodes is
// loaded as it stands, and the live data are then the image and its settings; any other file is
// refused with one message and the live data are left untouched; a loaded file saved again and
// reloaded gives the same image.
// The bytes as a memory image (cut or padded to its size): the decoded values lie within their
// fields' ranges; a decoded image encodes again (the sanitizers watch every access); encoding
// leaves every bit that no field owns as it was; decode(encode(decode(x))) gives decode(x) (the
// ANI and ENI codes and a recorded name with a dot aside, see below); and a further decode and
// encode change nothing.
#include "fuzz_check.h"
#include "model/storage/datafile.h"
#include "model/image/map54.h"
#include "new_image.h"
#include "temp_folder.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace {

using namespace qm54;

bool InRange(int32_t v, int32_t low, int32_t high) { return v >= low && v <= high; }

void CheckRanges(const TCEmem& e)
{
    FUZZ_CHECK(InRange(e.TxPowerDisplayHigh, 0, 99) && InRange(e.TxPowerDisplayLow, 0, 99));
    FUZZ_CHECK(InRange(e.AniMode, 0, 3));
    // The one-digit codes are meant to be 0 to 15 but own a whole byte, which decodes as stored:
    // whoever shows them as a digit must check the range.
    FUZZ_CHECK(InRange(e.FiveToneRepeatCode, 0, 255) && InRange(e.AniHeaderCode, 0, 255) &&
               InRange(e.EniHeaderCode, 0, 255));
    for (int32_t v : e.TxPowerAdjust) FUZZ_CHECK(InRange(v, -128, 127));
    for (int32_t v : e.AlphaTagCode) FUZZ_CHECK(InRange(v, -1, 9999));
    for (const std::string& t : e.AlphaTagText) FUZZ_CHECK(t.size() <= 8);
    FUZZ_CHECK(e.AniCode.size() <= 4 && e.EniCode.size() <= 4);
    for (int i = 0; i < ChannelCount; ++i) {
        const TChannel& ch = e.Channels.Items(i);
        FUZZ_CHECK(ch.Number == i + 1);
        FUZZ_CHECK(InRange(ch.NsqLevel, 0, 255));
        FUZZ_CHECK(ch.RxFreq.FracDigits >= 0 && ch.RxFreq.FracDigits <= 9);
        FUZZ_CHECK(ch.TxFreq.FracDigits >= 0 && ch.TxFreq.FracDigits <= 9);
    }
}

// The image encoded from emem over base.
TMap54 EncodedOver(const ImageBytes& base, const TCEmem& emem)
{
    TMap54 map;
    map.Bytes() = base;
    map.Encode(emem);
    return map;
}

struct Prompts : Prompter {
    std::vector<std::string> texts;
    MsgResult Show(const std::string& text, MsgKind, MsgButtons, const std::string&) override
    {
        texts.push_back(text);
        return MsgResult::Ok;
    }
};

void CheckLoadAndSave(const uint8_t* data, size_t size, const TMap54& image, bool imageDecodes)
{
    const qm54fuzz::TempFolder folder;
    FUZZ_CHECK(!folder.path.empty());
    const std::string path = (folder.path / "site.Q54").string();
    qm54fuzz::WriteAll(path, data, size);

    TCEmem emem;
    TMap54 map = qm54fuzz::NewImage(BandUhf, emem);
    const TCEmem ememBefore = emem;
    const TMap54 mapBefore = map;
    Prompts prompts;
    bool saveAllowed = true;
    const bool loaded = LoadDataFile(path, emem, map, prompts, saveAllowed);

    FUZZ_CHECK(saveAllowed);
    FUZZ_CHECK(loaded == (size >= ImageSize && imageDecodes));
    if (!loaded) {
        FUZZ_CHECK(emem == ememBefore && map == mapBefore);
        FUZZ_CHECK(prompts.texts.size() == 1);
        FUZZ_CHECK(prompts.texts[0] == FileFormatMessage || prompts.texts[0] == "File read error  File Name = " + path);
        return;
    }
    FUZZ_CHECK(prompts.texts.empty());
    FUZZ_CHECK(map == image);
    TCEmem expected;
    SetDefaults(expected);
    image.Decode(expected);
    FUZZ_CHECK(emem == expected);

    const std::string copy = (folder.path / "copy.Q54").string();
    FUZZ_CHECK(SaveDataFile(copy, emem, map, prompts));
    const std::string written = qm54fuzz::ReadAll(copy);
    FUZZ_CHECK(written.size() == ImageSize && std::memcmp(written.data(), map.Bytes().data(), ImageSize) == 0);
    TCEmem reloadedEmem;
    TMap54 reloaded;
    FUZZ_CHECK(LoadDataFile(copy, reloadedEmem, reloaded, prompts, saveAllowed));
    FUZZ_CHECK(reloaded == map);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    TMap54 input;
    input.Bytes().fill(0);
    std::memcpy(input.Bytes().data(), data, std::min(size, ImageSize));

    TCEmem decoded;
    const bool decodes = input.Decode(decoded);
    CheckRanges(decoded);
    CheckLoadAndSave(data, size, input, decodes);

    // Bits that an encode over all zeros and over all ones leaves different belong to no field
    // (the two checksum bytes aside, which sum the others): an encode over the input keeps them.
    ImageBytes zeros{};
    ImageBytes ones{};
    ones.fill(0xFF);
    const TMap54 overZeros = EncodedOver(zeros, decoded);
    const TMap54 overOnes = EncodedOver(ones, decoded);
    const TMap54 encoded = EncodedOver(input.Bytes(), decoded);
    for (size_t i = 0; i < ImageSize; ++i) {
        if (i == image::ChecksumA || i == image::ChecksumB) continue;
        const uint8_t unowned = overZeros.Bytes()[i] ^ overOnes.Bytes()[i];
        FUZZ_CHECK((encoded.Bytes()[i] & unowned) == (input.Bytes()[i] & unowned));
    }

    // decode(encode(decode(x))) is decode(x), except for an ANI or ENI code holding bytes that
    // are no hexadecimal digit: it decodes shorter and is written back as four digits.
    TCEmem again;
    encoded.Decode(again);
    TCEmem expected = decoded;
    if (decoded.AniCode.size() != 4) expected.AniCode = again.AniCode;
    if (decoded.EniCode.size() != 4) expected.EniCode = again.EniCode;
    // A recorded file name is read as its 8-byte stem; a stem holding a dot is taken for a name
    // with an extension when it is encoded, and loses the part from its last dot.
    if (decoded.StoredFileName.find('.') != std::string::npos) expected.StoredFileName = again.StoredFileName;
    FUZZ_CHECK(again == expected);

    // From then on encoding and decoding change nothing (a recorded name with a dot loses a part
    // in every round).
    const TMap54 twice = EncodedOver(encoded.Bytes(), again);
    TCEmem third;
    twice.Decode(third);
    if (again.StoredFileName.find('.') != std::string::npos) third.StoredFileName = again.StoredFileName;
    FUZZ_CHECK(third == again);
    if (again.StoredFileName.find('.') == std::string::npos) FUZZ_CHECK(EncodedOver(twice.Bytes(), third) == twice);
    return 0;
}
