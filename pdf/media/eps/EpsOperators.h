#pragma once
// The names the EPS importer gives a meaning of its own when the file does not define them:
// PostScript's operators that its reader follows (the stack, arithmetic, control, the
// dictionaries, strings; paths, painting, colours, line state and the transformation; the
// fonts, which are chosen but never drawn), those that draw what it cannot play (text,
// pictures, shadings), every other name PostScript defines (refused when run: what it does
// cannot be known here), and the short operators of content streams and Illustrator files,
// which drawing programs write relying on a prolog the file does not always carry.

#include <cstdint>
#include <string_view>

namespace tavlo {

enum class EpsBuiltin : std::uint16_t {
    // The operand stack.
    kPop, kExch, kDup, kCopy, kIndex, kRoll, kClear, kCount, kMark, kClearToMark, kCountToMark,
    // Arithmetic.
    kAdd, kSub, kMul, kDiv, kIdiv, kMod, kNeg, kAbs, kSqrt, kSin, kCos, kAtan, kRound, kFloor, kCeiling,
    kTruncate, kExp, kLn, kLog, kCvi, kCvr,
    // Relations and logic.
    kEq, kNe, kGt, kGe, kLt, kLe, kNot, kAnd, kOr, kXor, kTrue, kFalse, kNull,
    // Control.
    kIf, kIfElse, kRepeat, kFor, kLoop, kForall, kExit, kExec, kStop, kStopped,
    // Dictionaries, arrays, strings and types.
    kDict, kBegin, kEnd, kDef, kLoad, kStore, kWhere, kKnown, kUndef, kCurrentDict, kUserDict, kSystemDict, kGet,
    kPut, kLength, kBind, kType, kXcheck, kCvx, kCvlit, kUnchanged, kArray, kAstore, kAload, kMatrix,
    kConcatMatrix, kString, kPrint, kCountDictStack, kCvs, kCvn, kGetInterval, kPutInterval, kBitShift,
    kLanguageLevel, kToken, kCurrentFile, kReadLine, kFilter, kGState,
    // Fonts: chosen, scaled and defined; what shows them is refused.
    kFindFont, kScaleFont, kMakeFont, kSetFont, kCurrentFont, kDefineFont, kSelectFont, kStandardEncoding,
    kFontDirectory,
    // Paths and painting.
    kNewPath, kMoveTo, kRMoveTo, kLineTo, kRLineTo, kCurveTo, kRCurveTo, kClosePath, kCurrentPoint, kFill, kEoFill,
    kStroke, kClip, kEoClip, kRectClip, kRectFill, kRectStroke, kArc, kArcN, kArcT, kArcTo,
    // The graphics state.
    kGSave, kGRestore, kSave, kRestore, kSetLineWidth, kSetLineCap, kSetLineJoin, kSetMiterLimit, kSetDash,
    kSetGray, kSetRgbColor, kSetCmykColor, kSetHsbColor, kSetColorSpace, kSetColor, kConcat, kTranslate, kScale,
    kRotate, kCurrentMatrix, kSetMatrix, kCurrentGray, kCurrentRgbColor, kCurrentHsbColor, kCurrentLineWidth,
    kCurrentLineCap, kCurrentLineJoin, kCurrentMiterLimit, kShowPage,
    // No mark on the page: their operands are dropped.
    kIgnore, kSetTransfer,
    // Drawn in a way the importer cannot write: the file is refused.
    kRefused,
    // PostScript's, not followed here: the file is refused when one runs.
    kUnfollowed,
};

struct EpsBuiltinOperator {
    std::string_view name;
    EpsBuiltin op;
    int dropped = 0;  // operands of an operator passed over
};

// The operator of that name, or nullptr; the operators by their index (the value an
// operator has on the stack).
const EpsBuiltinOperator* FindEpsBuiltin(std::string_view name);
const EpsBuiltinOperator& EpsBuiltinAt(std::uint16_t index);
std::uint16_t EpsBuiltinIndex(const EpsBuiltinOperator& op);
// Operators that draw or change how later drawing looks: nothing to do outside the drawing.
bool EpsBuiltinDraws(EpsBuiltin op);

// The short operators of content streams and of Illustrator files.
enum class EpsShort : std::uint16_t {
    kMoveTo, kLineTo, kCurveTo, kCurveV, kCurveY, kRectangle, kClose, kEndPath,
    kStroke, kCloseStroke, kFill, kEoFill, kFillStroke, kEoFillStroke, kCloseFillStroke, kCloseEoFillStroke,
    kClip, kEoClip, kSave, kRestore, kTransform,
    kLineWidth, kLineCap, kLineJoin, kMiterLimit, kDash,
    kGray, kStrokeGray, kRgb, kStrokeRgb, kCmyk, kStrokeCmyk, kSpace, kStrokeSpace, kComponents, kStrokeComponents,
    // Illustrator's own colours: a custom colour with its tint, and two of a drawing program's own.
    kCustom, kStrokeCustom, kIllustratorRgb, kIllustratorStrokeGray,
    // Content streams' own: passed over (marked content, text state, rendering intent,
    // flatness), or refused (text shown, pictures, shadings, extended states).
    kPassed, kRefused,
};

struct EpsShortOperator {
    std::string_view name;
    EpsShort op;
    int operands;             // numbers taken, -1 for the special forms
    bool inContent;           // a content stream's operator
    bool inIllustrator;       // played in a PostScript drawing that does not define it
};

// The short operator of that name, or nullptr; by index, as for the builtins.
const EpsShortOperator* FindEpsShort(std::string_view name);
const EpsShortOperator& EpsShortAt(std::uint16_t index);
std::uint16_t EpsShortIndex(const EpsShortOperator& op);

} // namespace tavlo
