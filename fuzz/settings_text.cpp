// Fuzz target: profile-file text, slash dates and number text from arbitrary bytes.
#include "platform/core/ProfileFile.h"
#include "settings/CMyPublic.h"

#include <cstdint>
#include <cstring>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string bytes(reinterpret_cast<const char*>(data), size);

    ProfileFile ini;
    ini.setText(bytes);
    int32_t left = ini.readInt("FORM", "LEFT", 0);
    std::string kaku = ini.readString("EXP", "KAKU", "");
    ini.writeInt("FORM", "LEFT", left + (left < INT32_MAX ? 1 : 0));
    ini.writeString("EXP", "KAKU", kaku);
    ini.writeFlag("NEW", "FLAG", true);
    // What was written must read back, whatever surrounded it.
    ProfileFile again;
    again.setText(ini.text());
    if (again.readInt("FORM", "LEFT", 0) != left + (left < INT32_MAX ? 1 : 0)) __builtin_trap();
    if (!again.readFlag("NEW", "FLAG", false)) __builtin_trap();

    CMyPublic utilities;
    utilities.parseSlashDate(bytes, true);
    size_t half = size / 2;
    utilities.nextInSeries(bytes.substr(0, half), bytes.substr(half));
    if (size >= sizeof(double) + 1) {
        double value;
        std::memcpy(&value, data, sizeof value);
        CMyPublic::formatNumber(value, static_cast<int8_t>(data[sizeof value]) % 40, true);
    }
    CMyPublic::extensionPart(bytes);
    std::string path = bytes;
    CMyPublic::setExtension(path, ".csv", true);
    return 0;
}
