#include "pdf/media/eps/EpsOperators.h"

#include <iterator>
#include <type_traits>
#include <unordered_map>

namespace tavlo {

namespace {

using B = EpsBuiltin;

constexpr EpsBuiltinOperator kBuiltins[] = {
    {"pop", B::kPop}, {"exch", B::kExch}, {"dup", B::kDup}, {"copy", B::kCopy}, {"index", B::kIndex},
    {"roll", B::kRoll}, {"clear", B::kClear}, {"count", B::kCount}, {"mark", B::kMark},
    {"cleartomark", B::kClearToMark}, {"counttomark", B::kCountToMark},
    // A mark of a PDF writer's: nothing drawn, its operands dropped up to the mark.
    {"pdfmark", B::kClearToMark},

    {"add", B::kAdd}, {"sub", B::kSub}, {"mul", B::kMul}, {"div", B::kDiv}, {"idiv", B::kIdiv}, {"mod", B::kMod},
    {"neg", B::kNeg}, {"abs", B::kAbs}, {"sqrt", B::kSqrt}, {"sin", B::kSin}, {"cos", B::kCos}, {"atan", B::kAtan},
    {"round", B::kRound}, {"floor", B::kFloor}, {"ceiling", B::kCeiling}, {"truncate", B::kTruncate},
    {"exp", B::kExp}, {"ln", B::kLn}, {"log", B::kLog}, {"cvi", B::kCvi}, {"cvr", B::kCvr},

    {"eq", B::kEq}, {"ne", B::kNe}, {"gt", B::kGt}, {"ge", B::kGe}, {"lt", B::kLt}, {"le", B::kLe}, {"not", B::kNot},
    {"and", B::kAnd}, {"or", B::kOr}, {"xor", B::kXor}, {"true", B::kTrue}, {"false", B::kFalse}, {"null", B::kNull},

    {"if", B::kIf}, {"ifelse", B::kIfElse}, {"repeat", B::kRepeat}, {"for", B::kFor}, {"loop", B::kLoop},
    {"forall", B::kForall}, {"exit", B::kExit}, {"exec", B::kExec}, {"stop", B::kStop}, {"stopped", B::kStopped},

    {"dict", B::kDict}, {"begin", B::kBegin}, {"end", B::kEnd}, {"def", B::kDef}, {"load", B::kLoad},
    {"store", B::kStore}, {"where", B::kWhere}, {"known", B::kKnown}, {"undef", B::kUndef},
    {"currentdict", B::kCurrentDict}, {"userdict", B::kUserDict}, {"globaldict", B::kUserDict},
    {"systemdict", B::kSystemDict}, {"statusdict", B::kSystemDict}, {"errordict", B::kSystemDict},
    {"get", B::kGet}, {"put", B::kPut}, {"length", B::kLength}, {"bind", B::kBind}, {"type", B::kType},
    {"xcheck", B::kXcheck}, {"cvx", B::kCvx}, {"cvlit", B::kCvlit}, {"readonly", B::kUnchanged},
    {"executeonly", B::kUnchanged}, {"noaccess", B::kUnchanged}, {"array", B::kArray}, {"astore", B::kAstore},
    {"aload", B::kAload}, {"matrix", B::kMatrix}, {"concatmatrix", B::kConcatMatrix}, {"string", B::kString},
    {"print", B::kPrint}, {"=", B::kPrint}, {"==", B::kPrint}, {"countdictstack", B::kCountDictStack},
    {"cvs", B::kCvs}, {"cvn", B::kCvn}, {"getinterval", B::kGetInterval}, {"putinterval", B::kPutInterval},
    {"bitshift", B::kBitShift}, {"languagelevel", B::kLanguageLevel}, {"currentglobal", B::kFalse},
    {"currentpacking", B::kFalse}, {"token", B::kToken}, {"currentfile", B::kCurrentFile},
    {"readline", B::kReadLine}, {"filter", B::kFilter}, {"gstate", B::kGState},

    {"findfont", B::kFindFont}, {"scalefont", B::kScaleFont}, {"makefont", B::kMakeFont},
    {"setfont", B::kSetFont}, {"currentfont", B::kCurrentFont}, {"definefont", B::kDefineFont},
    {"selectfont", B::kSelectFont}, {"StandardEncoding", B::kStandardEncoding},
    {"ISOLatin1Encoding", B::kStandardEncoding}, {"FontDirectory", B::kFontDirectory},
    {"GlobalFontDirectory", B::kFontDirectory},

    {"newpath", B::kNewPath}, {"moveto", B::kMoveTo}, {"rmoveto", B::kRMoveTo}, {"lineto", B::kLineTo},
    {"rlineto", B::kRLineTo}, {"curveto", B::kCurveTo}, {"rcurveto", B::kRCurveTo}, {"closepath", B::kClosePath},
    {"currentpoint", B::kCurrentPoint}, {"fill", B::kFill}, {"eofill", B::kEoFill}, {"stroke", B::kStroke},
    {"clip", B::kClip}, {"eoclip", B::kEoClip}, {"rectclip", B::kRectClip}, {"rectfill", B::kRectFill},
    {"rectstroke", B::kRectStroke}, {"arc", B::kArc}, {"arcn", B::kArcN}, {"arct", B::kArcT},
    {"arcto", B::kArcTo},

    {"gsave", B::kGSave}, {"grestore", B::kGRestore}, {"save", B::kSave}, {"restore", B::kRestore},
    {"setlinewidth", B::kSetLineWidth}, {"setlinecap", B::kSetLineCap}, {"setlinejoin", B::kSetLineJoin},
    {"setmiterlimit", B::kSetMiterLimit}, {"setdash", B::kSetDash}, {"setgray", B::kSetGray},
    {"setrgbcolor", B::kSetRgbColor}, {"setcmykcolor", B::kSetCmykColor}, {"sethsbcolor", B::kSetHsbColor},
    {"setcolorspace", B::kSetColorSpace}, {"setcolor", B::kSetColor}, {"concat", B::kConcat},
    {"translate", B::kTranslate}, {"scale", B::kScale}, {"rotate", B::kRotate},
    {"currentmatrix", B::kCurrentMatrix}, {"setmatrix", B::kSetMatrix}, {"currentgray", B::kCurrentGray},
    {"currentrgbcolor", B::kCurrentRgbColor}, {"currenthsbcolor", B::kCurrentHsbColor},
    {"currentlinewidth", B::kCurrentLineWidth}, {"currentlinecap", B::kCurrentLineCap},
    {"currentlinejoin", B::kCurrentLineJoin}, {"currentmiterlimit", B::kCurrentMiterLimit},
    {"showpage", B::kShowPage},

    // Device and printer settings, which the page's drawing on screen does not show.
    {"flush", B::kIgnore, 0}, {"setflat", B::kIgnore, 1}, {"setoverprint", B::kIgnore, 1},
    {"setstrokeadjust", B::kIgnore, 1}, {"setsmoothness", B::kIgnore, 1}, {"setcolorrendering", B::kIgnore, 1},
    {"setundercolorremoval", B::kIgnore, 1}, {"setblackgeneration", B::kIgnore, 1},
    {"sethalftone", B::kIgnore, 1}, {"setscreen", B::kIgnore, 3}, {"setcolorscreen", B::kIgnore, 12},
    {"setpacking", B::kIgnore, 1}, {"setglobal", B::kIgnore, 1}, {"setobjectformat", B::kIgnore, 1},
    {"settransfer", B::kSetTransfer, 1}, {"setcolortransfer", B::kSetTransfer, 4},

    {"show", B::kRefused}, {"ashow", B::kRefused}, {"widthshow", B::kRefused}, {"awidthshow", B::kRefused},
    {"kshow", B::kRefused}, {"xshow", B::kRefused}, {"yshow", B::kRefused}, {"xyshow", B::kRefused},
    {"glyphshow", B::kRefused}, {"cshow", B::kRefused}, {"charpath", B::kRefused}, {"stringwidth", B::kRefused},
    {"image", B::kRefused}, {"imagemask", B::kRefused}, {"colorimage", B::kRefused}, {"shfill", B::kRefused},
    {"setpattern", B::kRefused}, {"execform", B::kRefused}, {"setcachedevice", B::kRefused},
    {"setcachedevice2", B::kRefused}, {"setcharwidth", B::kRefused},

    // The rest of PostScript's operators, levels 1 to 3.
    {"rand", B::kUnfollowed}, {"srand", B::kUnfollowed}, {"rrand", B::kUnfollowed},
    {"packedarray", B::kUnfollowed}, {"maxlength", B::kUnfollowed}, {"$error", B::kUnfollowed},
    {"dictstack", B::kUnfollowed}, {"cleardictstack", B::kUnfollowed}, {"anchorsearch", B::kUnfollowed},
    {"search", B::kUnfollowed}, {"countexecstack", B::kUnfollowed}, {"execstack", B::kUnfollowed},
    {"quit", B::kUnfollowed}, {"start", B::kUnfollowed}, {"rcheck", B::kUnfollowed}, {"wcheck", B::kUnfollowed},
    {"cvrs", B::kUnfollowed}, {"file", B::kUnfollowed}, {"closefile", B::kUnfollowed}, {"read", B::kUnfollowed},
    {"write", B::kUnfollowed}, {"readhexstring", B::kUnfollowed}, {"writehexstring", B::kUnfollowed},
    {"readstring", B::kUnfollowed}, {"writestring", B::kUnfollowed}, {"bytesavailable", B::kUnfollowed},
    {"flushfile", B::kUnfollowed}, {"resetfile", B::kUnfollowed}, {"status", B::kUnfollowed},
    {"run", B::kUnfollowed}, {"deletefile", B::kUnfollowed}, {"renamefile", B::kUnfollowed},
    {"filenameforall", B::kUnfollowed}, {"setfileposition", B::kUnfollowed}, {"fileposition", B::kUnfollowed},
    {"stack", B::kUnfollowed}, {"pstack", B::kUnfollowed}, {"printobject", B::kUnfollowed},
    {"writeobject", B::kUnfollowed}, {"currentobjectformat", B::kUnfollowed},
    {"defineresource", B::kUnfollowed}, {"undefineresource", B::kUnfollowed}, {"findresource", B::kUnfollowed},
    {"findcolorrendering", B::kUnfollowed}, {"resourcestatus", B::kUnfollowed},
    {"resourceforall", B::kUnfollowed}, {"gcheck", B::kUnfollowed}, {"startjob", B::kUnfollowed},
    {"defineuserobject", B::kUnfollowed}, {"execuserobject", B::kUnfollowed},
    {"undefineuserobject", B::kUnfollowed}, {"UserObjects", B::kUnfollowed}, {"version", B::kUnfollowed},
    {"realtime", B::kUnfollowed}, {"usertime", B::kUnfollowed}, {"product", B::kUnfollowed},
    {"revision", B::kUnfollowed}, {"serialnumber", B::kUnfollowed}, {"executive", B::kUnfollowed},
    {"echo", B::kUnfollowed}, {"prompt", B::kUnfollowed}, {"clipsave", B::kUnfollowed},
    {"cliprestore", B::kUnfollowed}, {"grestoreall", B::kUnfollowed}, {"initgraphics", B::kUnfollowed},
    {"setgstate", B::kUnfollowed}, {"currentgstate", B::kUnfollowed},
    {"currentstrokeadjust", B::kUnfollowed}, {"currentdash", B::kUnfollowed},
    {"currentcolorspace", B::kUnfollowed}, {"currentcolor", B::kUnfollowed},
    {"currentcmykcolor", B::kUnfollowed}, {"currenthalftone", B::kUnfollowed}, {"currentscreen", B::kUnfollowed},
    {"currentcolorscreen", B::kUnfollowed}, {"currenttransfer", B::kUnfollowed},
    {"currentcolortransfer", B::kUnfollowed}, {"currentblackgeneration", B::kUnfollowed},
    {"currentundercolorremoval", B::kUnfollowed}, {"currentcolorrendering", B::kUnfollowed},
    {"currentflat", B::kUnfollowed}, {"currentoverprint", B::kUnfollowed}, {"currentsmoothness", B::kUnfollowed},
    {"initmatrix", B::kUnfollowed}, {"identmatrix", B::kUnfollowed}, {"defaultmatrix", B::kUnfollowed},
    {"transform", B::kUnfollowed}, {"dtransform", B::kUnfollowed}, {"itransform", B::kUnfollowed},
    {"idtransform", B::kUnfollowed}, {"invertmatrix", B::kUnfollowed}, {"flattenpath", B::kUnfollowed},
    {"reversepath", B::kUnfollowed}, {"strokepath", B::kUnfollowed}, {"ustrokepath", B::kUnfollowed},
    {"uappend", B::kUnfollowed}, {"clippath", B::kUnfollowed}, {"setbbox", B::kUnfollowed},
    {"pathbbox", B::kUnfollowed}, {"pathforall", B::kUnfollowed}, {"upath", B::kUnfollowed},
    {"initclip", B::kUnfollowed}, {"ucache", B::kUnfollowed}, {"erasepage", B::kUnfollowed},
    {"ustroke", B::kUnfollowed}, {"ufill", B::kUnfollowed}, {"ueofill", B::kUnfollowed},
    {"infill", B::kUnfollowed}, {"ineofill", B::kUnfollowed}, {"inufill", B::kUnfollowed},
    {"inueofill", B::kUnfollowed}, {"instroke", B::kUnfollowed}, {"inustroke", B::kUnfollowed},
    {"makepattern", B::kUnfollowed}, {"copypage", B::kUnfollowed}, {"setpagedevice", B::kUnfollowed},
    {"currentpagedevice", B::kUnfollowed}, {"nulldevice", B::kUnfollowed}, {"composefont", B::kUnfollowed},
    {"undefinefont", B::kUnfollowed}, {"rootfont", B::kUnfollowed}, {"findencoding", B::kUnfollowed},
    {"setsystemparams", B::kUnfollowed}, {"currentsystemparams", B::kUnfollowed},
    {"setuserparams", B::kUnfollowed}, {"currentuserparams", B::kUnfollowed}, {"setdevparams", B::kUnfollowed},
    {"currentdevparams", B::kUnfollowed}, {"vmreclaim", B::kUnfollowed}, {"vmstatus", B::kUnfollowed},
    {"setvmthreshold", B::kUnfollowed}, {"cachestatus", B::kUnfollowed}, {"setcachelimit", B::kUnfollowed},
    {"setcacheparams", B::kUnfollowed}, {"currentcacheparams", B::kUnfollowed},
    {"setucacheparams", B::kUnfollowed}, {"ucachestatus", B::kUnfollowed}, {"banddevice", B::kUnfollowed},
    {"framedevice", B::kUnfollowed}, {"renderbands", B::kUnfollowed}, {"eexec", B::kUnfollowed},
    {"internaldict", B::kUnfollowed}, {"sethalftonephase", B::kUnfollowed},
    {"currenthalftonephase", B::kUnfollowed}, {"setshared", B::kUnfollowed}, {"currentshared", B::kUnfollowed},
    {"shareddict", B::kUnfollowed}, {"SharedFontDirectory", B::kUnfollowed}, {"handleerror", B::kUnfollowed},
};

using S = EpsShort;

constexpr EpsShortOperator kShorts[] = {
    {"m", S::kMoveTo, 2, true, true}, {"l", S::kLineTo, 2, true, true}, {"c", S::kCurveTo, 6, true, true},
    {"v", S::kCurveV, 4, true, true}, {"y", S::kCurveY, 4, true, true}, {"re", S::kRectangle, 4, true, true},
    {"h", S::kClose, 0, true, true}, {"n", S::kEndPath, 0, true, true},
    {"S", S::kStroke, 0, true, true}, {"s", S::kCloseStroke, 0, true, true}, {"f", S::kFill, 0, true, true},
    {"F", S::kFill, 0, true, true}, {"f*", S::kEoFill, 0, true, true}, {"B", S::kFillStroke, 0, true, true},
    {"B*", S::kEoFillStroke, 0, true, true}, {"b", S::kCloseFillStroke, 0, true, true},
    {"b*", S::kCloseEoFillStroke, 0, true, true}, {"W", S::kClip, 0, true, true}, {"W*", S::kEoClip, 0, true, true},
    {"q", S::kSave, 0, true, true}, {"Q", S::kRestore, 0, true, true}, {"cm", S::kTransform, -1, true, true},
    {"w", S::kLineWidth, 1, true, true}, {"J", S::kLineCap, 1, true, true}, {"j", S::kLineJoin, 1, true, true},
    {"M", S::kMiterLimit, 1, true, true}, {"d", S::kDash, -1, true, true},
    {"g", S::kGray, 1, true, true}, {"G", S::kStrokeGray, 1, true, true}, {"rg", S::kRgb, 3, true, true},
    {"RG", S::kStrokeRgb, 3, true, true}, {"k", S::kCmyk, 4, true, true}, {"K", S::kStrokeCmyk, 4, true, true},
    {"cs", S::kSpace, -1, true, true}, {"CS", S::kStrokeSpace, -1, true, true},
    {"sc", S::kComponents, -1, true, true}, {"SC", S::kStrokeComponents, -1, true, true},
    {"scn", S::kComponents, -1, true, false}, {"SCN", S::kStrokeComponents, -1, true, false},
    // Illustrator's corner points are the same segments; its own colours.
    {"Y", S::kCurveY, 4, false, true}, {"N", S::kEndPath, 0, false, true}, {"L", S::kLineTo, 2, false, true},
    {"C", S::kCurveTo, 6, false, true}, {"V", S::kCurveV, 4, false, true}, {"x", S::kCustom, -1, false, true},
    {"X", S::kStrokeCustom, -1, false, true}, {"Xa", S::kIllustratorRgb, 3, false, true},
    {"XR", S::kIllustratorStrokeGray, 1, false, true},
    // Content streams' marked content, text state, rendering intent and flatness.
    {"i", S::kPassed, 1, true, false}, {"ri", S::kPassed, 1, true, false}, {"BMC", S::kPassed, 1, true, false},
    {"BDC", S::kPassed, 2, true, false}, {"EMC", S::kPassed, 0, true, false}, {"MP", S::kPassed, 1, true, false},
    {"DP", S::kPassed, 2, true, false}, {"BX", S::kPassed, 0, true, false}, {"EX", S::kPassed, 0, true, false},
    {"BT", S::kPassed, 0, true, false}, {"ET", S::kPassed, 0, true, false}, {"Tc", S::kPassed, 1, true, false},
    {"Tw", S::kPassed, 1, true, false}, {"Tz", S::kPassed, 1, true, false}, {"TL", S::kPassed, 1, true, false},
    {"Tf", S::kPassed, 2, true, false}, {"Tr", S::kPassed, 1, true, false}, {"Ts", S::kPassed, 1, true, false},
    {"Td", S::kPassed, 2, true, false}, {"TD", S::kPassed, 2, true, false}, {"Tm", S::kPassed, 6, true, false},
    {"T*", S::kPassed, 0, true, false},
    // Text shown, pictures, shadings, glyph descriptions and extended graphics states.
    {"Tj", S::kRefused, 1, true, false}, {"TJ", S::kRefused, 1, true, false}, {"'", S::kRefused, 1, true, false},
    {"\"", S::kRefused, 3, true, false}, {"Do", S::kRefused, 1, true, false}, {"BI", S::kRefused, 0, true, false},
    {"sh", S::kRefused, 1, true, false}, {"gs", S::kRefused, 1, true, false}, {"d0", S::kRefused, 2, true, false},
    {"d1", S::kRefused, 6, true, false},
};

// Names are looked up for every call a drawing makes: by hash, not along the table.
template <typename Table>
auto Find(const Table& table, std::string_view name)
{
    using Entry = std::remove_reference_t<decltype(table[0])>;
    static const auto index = [&] {
        std::unordered_map<std::string_view, Entry*> byName;
        for (Entry& entry : table)
            byName.emplace(entry.name, &entry);
        return byName;
    }();
    const auto found = index.find(name);
    return found == index.end() ? nullptr : found->second;
}

} // namespace

const EpsBuiltinOperator* FindEpsBuiltin(std::string_view name)
{
    return Find(kBuiltins, name);
}

const EpsBuiltinOperator& EpsBuiltinAt(std::uint16_t index)
{
    return kBuiltins[index % std::size(kBuiltins)];
}

std::uint16_t EpsBuiltinIndex(const EpsBuiltinOperator& op)
{
    return static_cast<std::uint16_t>(&op - kBuiltins);
}

bool EpsBuiltinDraws(EpsBuiltin op)
{
    return op >= B::kNewPath && op != B::kUnfollowed;
}

const EpsShortOperator* FindEpsShort(std::string_view name)
{
    return Find(kShorts, name);
}

const EpsShortOperator& EpsShortAt(std::uint16_t index)
{
    return kShorts[index % std::size(kShorts)];
}

std::uint16_t EpsShortIndex(const EpsShortOperator& op)
{
    return static_cast<std::uint16_t>(&op - kShorts);
}

} // namespace tavlo
