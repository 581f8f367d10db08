// ColourOpenSteps: locates and reads the colour file around the reading of the rows.
#include "store/ColourOpenSteps.h"

#include <memory>
#include <unistd.h>

#include "platform/core/Prompt.h"
#include "platform/core/SafeFile.h"
#include "settings/CMyGlobal.h"
#include "store/CMyCSV.h"
#include "store/CMyColourFile.h"
#include "store/DocumentState.h"

namespace {

constexpr int MaxColumns = 999;

// Applies what the colour file recorded about the file, as far as this open allows it.
void applySettings(const ColourSettings& s, ColourOpenContext& ctx,
                   const ColourOpenSteps::AlternateSink& setAlternate) {
    if (s.freezeEnd != 0 && s.freezeFirst >= 0 && s.freezeFirst < s.freezeEnd &&
        s.freezeEnd <= MaxColumns) {
        ctx.freezeFirst = s.freezeFirst;
        ctx.freezeEnd = s.freezeEnd;
    }
    ctx.headerFlag = s.headerFlag == 1;
    if (s.separator == static_cast<unsigned char>(ctx.separator) && !ctx.quotesForced &&
        s.quoteKind >= 0 && s.quoteKind <= 3)
        ctx.global->setQuoteKind(s.quoteKind);
    if (!ctx.retry && !ctx.quotesForced) {
        const bool lineBreakOnly = (s.flags & 1) != 0;
        ctx.global->setFileQuoteLineBreakOnly(lineBreakOnly);
        if (ctx.reader) ctx.reader->setStrictQuotes(!lineBreakOnly);
    }
    const bool recordedUtf8 = (s.formatFlags & FormatValid) && (s.formatFlags & FormatUtf8);
    if (recordedUtf8 && !ctx.encodingDetected && ctx.doc->encoding == 0 && !ctx.doc->withBom) {
        ctx.doc->encoding = 15;
        if (ctx.reader) ctx.reader->setEncoding(15);
    }
    const int band = s.alternateBand(), colour = s.alternateColour();
    if (s.alternate > 0 && band >= 1 && colour < 32 && setAlternate) setAlternate(band, colour);
}

} // namespace

OpenColourHooks ColourOpenSteps::hooks(AlternateSink setAlternate) {
    auto file = std::make_shared<CMyColourFile>();
    OpenColourHooks hooks;
    hooks.colourHeader = [file, setAlternate](ColourOpenContext& ctx) {
        if (!ctx.global || !ctx.doc || !ctx.hyo) return false;
        const std::string path =
            CMyColourFile::locateColourFile(ctx.dataPath, ctx.tempName, *ctx.global, *ctx.doc);
        if (path.empty()) return false;
        if (!file->openForReading(path)) {
            // A colour file that is there but cannot be read is said, so that the user does
            // not save over it unknowingly and lose its colours.
            if (::access(path.c_str(), F_OK) == 0 && !SafeFile::isSpecial(path))
                Prompt::warn("ファイルのオープンに失敗しました。(色情報)");
            return false;
        }
        ColourSettings settings;
        if (file->readColourHeader(*ctx.hyo, settings) != 0) return false;
        if (settings.present) applySettings(settings, ctx, setAlternate);
        return true;
    };
    hooks.colourRecords = [file](ColourOpenContext& ctx, int rowOffset) {
        if (ctx.hyo) file->readColourRecords(*ctx.hyo, rowOffset);
    };
    return hooks;
}
