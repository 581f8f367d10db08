// ColourOpenSteps: locates and reads the colour file around the reading of the rows.
#include "store/ColourOpenSteps.h"

#include <memory>
#include <unistd.h>

#include "platform/core/Prompt.h"
#include "platform/core/SafeFile.h"
#include "settings/CMyGlobal.h"
#include "store/CMyCSV.h"
#include "store/CMyColourFile.h"
#include "store/CMyHyo.h"
#include "store/DocumentState.h"

namespace {

constexpr int MaxColumns = 999;

// What the colour file recorded about reading the rows, as far as this open allows it.
ColourReaderSettings readerSettingsOf(const ColourSettings& s, const ColourOpenContext& ctx) {
    ColourReaderSettings reading;
    if (s.separator == static_cast<unsigned char>(ctx.separator) && !ctx.quotesForced &&
        s.quoteKind >= 0 && s.quoteKind <= 3)
        reading.quoteKind = s.quoteKind;
    if (!ctx.retry && !ctx.quotesForced) reading.strictQuotes = (s.flags & 1) != 0 ? 0 : 1;
    const bool recordedUtf8 = (s.formatFlags & FormatValid) && (s.formatFlags & FormatUtf8);
    if (recordedUtf8 && !ctx.encodingDetected && ctx.doc->encoding == 0 && !ctx.doc->withBom)
        reading.encoding = 15;
    return reading;
}

// Applies what the colour file recorded about the file, as far as this open allows it.
void applySettings(const ColourSettings& s, ColourOpenContext& ctx,
                   const ColourOpenSteps::AlternateSink& setAlternate) {
    if (s.freezeEnd != 0 && s.freezeFirst >= 0 && s.freezeFirst < s.freezeEnd &&
        s.freezeEnd <= MaxColumns) {
        ctx.freezeFirst = s.freezeFirst;
        ctx.freezeEnd = s.freezeEnd;
    }
    ctx.headerFlag = s.headerFlag == 1;
    const ColourReaderSettings reading = readerSettingsOf(s, ctx);
    if (reading.quoteKind >= 0) ctx.global->setQuoteKind(reading.quoteKind);
    if (reading.strictQuotes >= 0) {
        ctx.global->setFileQuoteLineBreakOnly(reading.strictQuotes == 0);
        if (ctx.reader) ctx.reader->setStrictQuotes(reading.strictQuotes == 1);
    }
    if (reading.encoding != 0) {
        ctx.doc->encoding = reading.encoding;
        if (ctx.reader) ctx.reader->setEncoding(reading.encoding);
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
    hooks.readerSettings = [](const ColourOpenContext& ctx) {
        ColourReaderSettings reading;
        if (!ctx.global || !ctx.doc) return reading;
        // A look ahead at the header that changes nothing and says nothing: the header is
        // read for good, with its messages, once the rows are in.
        FixedAnswerPrompt quiet(PromptAnswer::Ok);
        PromptHandler* shown = Prompt::handler();
        Prompt::install(&quiet);
        DocumentState doc = *ctx.doc;
        const std::string path =
            CMyColourFile::locateColourFile(ctx.dataPath, ctx.tempName, *ctx.global, doc);
        CMyColourFile file;
        CMyHyo columns;
        ColourSettings settings;
        if (!path.empty() && file.openForReading(path) &&
            file.readColourHeader(columns, settings) == 0 && settings.present)
            reading = readerSettingsOf(settings, ctx);
        Prompt::install(shown);
        return reading;
    };
    hooks.colourRecords = [file](ColourOpenContext& ctx, int rowOffset) {
        if (ctx.hyo) file->readColourRecords(*ctx.hyo, rowOffset);
    };
    return hooks;
}
