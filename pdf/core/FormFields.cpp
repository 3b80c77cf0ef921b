#include "pdf/Tavlo.h"

#include "pdf/core/Colors.h"
#include "pdf/core/FieldOptions.h"
#include "pdf/core/LinkTargets.h"
#include "pdf/core/PdfFormat.h"
#include "pdf/core/TavloState.h"
#include "pdf/core/Windows1252.h"

#include <algorithm>
#include <optional>

namespace tavlo {

namespace {

constexpr std::int32_t kTypeMismatch = 13;

bool IsRgb(const std::string& colour)
{
    return !colour.empty() && colour[0] == '#';
}

std::string Lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; });
    return text;
}

// The extra argument read as a whole number, as the maximum length and the selected
// option are: a text that holds no number is a type mismatch. The decimal point is a
// full stop whatever the machine's locale.
std::int32_t ExtraNumber(const std::string& extra)
{
    const std::optional<double> value = WholeNumber(extra);
    if (!value)
        throw TavloError(kTypeMismatch);
    return RoundToInt32(*value);
}

} // namespace

void Tavlo::AddField(const std::string& name, std::int32_t kind, float x, float y, float w, float h,
                     const std::string& value, std::int32_t extra, const std::string& tooltip, std::int32_t options)
try {
    // A number is no script: a push button given one gets none.
    AddField(name, kind, x, y, w, h, value, kind == FieldKind::PushButton ? std::string() : std::to_string(extra),
             tooltip, options);
} catch (...) {
    RaiseRecorded("AddField");
}

void Tavlo::AddField(const std::string& name, std::int32_t kind, float x, float y, float w, float h,
                     const std::string& value, const std::string& extra, const std::string& tooltip,
                     std::int32_t options)
try {
    TavloState& s = *s_;
    // A widget without a field type is no field a viewer can fill or press.
    if (kind < FieldKind::Text || kind > FieldKind::PushButton)
        return;
    std::int32_t number = 0;
    if (kind == FieldKind::Text || kind == FieldKind::ListBox || kind == FieldKind::ComboBox)
        number = ExtraNumber(extra);
    if ((kind == FieldKind::ListBox || kind == FieldKind::ComboBox) && number > 32767)
        throw TavloError(ErrorCode::Overflow);
    // The default appearance must name a font of the form's resources.
    if (s.doc.FontResource.empty())
        SetFont("Helvetica", s.doc.FontSize, 0, 0);

    const double left = RequirePdfNumber(PageSpaceX(x)), top = RequirePdfNumber(PageSpaceY(y));
    const double right = RequirePdfNumber(left + w * s.Scale), bottom = RequirePdfNumber(top - h * s.Scale);
    const FieldFlags fieldFlags = FieldFieldFlags(options);
    if (fieldFlags.versionIncrement > 0)
        RequireVersion(fieldFlags.versionIncrement);
    std::int32_t ff = fieldFlags.flags;
    const std::int32_t annotationFlags = FieldAnnotationFlags(options);
    const double fontSize = (options & FieldOption::ViewerFontSize) ? 0.0 : s.doc.FontSize;

    FieldEntry field;
    std::string head = "<< /Type /Annot /Subtype /Widget \r /Rect [ " + PdfNumber(left) + " " + PdfNumber(top) + " " +
                       PdfNumber(right) + " " + PdfNumber(bottom) + "]";
    if (annotationFlags != 0)
        head += " /F " + std::to_string(annotationFlags) + " ";

    std::string look;
    if (IsRgb(s.FillColor) && !(options & FieldOption::NoBackground))
        look = " /BG [ " + HexColorToRgb(s.FillColor) + " ] ";
    if (IsRgb(s.LineColor) && !(options & FieldOption::NoBorder)) {
        head += "\r/BS << /Type /Border /W " + FieldBorder(options) + ">>";
        look = " /BC [ " + HexColorToRgb(s.LineColor) + " ] " + look;
    }
    look += FieldRotation(options);

    switch (kind) {
    case FieldKind::Text:
        head += " /FT /Tx /Ff " + std::to_string(ff) + " ";
        if (options & FieldOption::RightAligned)
            head += "\r/Q 2 ";
        else if (options & FieldOption::Centred)
            head += "\r/Q 1 ";
        if (number > 0)
            head += " /MaxLen " + std::to_string(number) + " ";
        field.value = value;
        break;
    case FieldKind::CheckBox:
    case FieldKind::RadioButton:
        if (kind == FieldKind::CheckBox) {
            field.caption = FieldCheckMark(options);
        } else {
            field.caption = "l";
            ff |= 32768 | 16384;
        }
        // The appearance state follows the value, so readers show a box given as on checked.
        head += " /FT /Btn /Ff " + std::to_string(ff) + (Lower(value) == "true" ? " /V /S#EC /DV /S#EC /AS /S#EC " : " ");
        WriteCheckMarkFont();
        break;
    case FieldKind::ListBox:
    case FieldKind::ComboBox:
        if (kind == FieldKind::ComboBox)
            ff |= 131072;
        head += " /FT /Ch /Ff " + std::to_string(ff) + " ";
        field.value = value;
        if (number > 0)
            field.defaultIndex = static_cast<std::int16_t>(number);
        break;
    case FieldKind::PushButton:
        ff |= 65536;
        head += " /FT /Btn /Ff " + std::to_string(ff);
        field.caption = value;
        if (!extra.empty())
            // The script, a text stream, in characters a viewer reads as the caller meant.
            field.extra = " /A << /S /JavaScript /JS " +
                          std::to_string(WriteTextStreamObject(PdfTextFromWindows1252(extra))) + " 0 R >> ";
        break;
    default:
        break;
    }

    // A text colour that is a pattern has no operands for a field: black then.
    const std::string textColour = IsRgb(s.TextColor) ? HexColorToRgb(s.TextColor) : std::string("0 0 0");
    field.name = name;
    field.appearance = "/" + s.doc.FontResource + " " + PdfNumber(fontSize) + " Tf " + textColour + " rg ";
    field.look = look;
    field.tooltip = tooltip;
    field.head = head;
    field.kind = kind;
    s.doc.Fields.push_back(field);
    s.FieldCount = static_cast<std::int32_t>(s.doc.Fields.size());
} catch (...) {
    RaiseRecorded("AddField");
}

void Tavlo::WriteCheckMarkFont()
{
    TavloState& s = *s_;
    if (!s.file.IsOpen() || s.FontResources.find("/ZaDb ") != std::string::npos)
        return;
    const std::int32_t n = NewObj();
    PutLine("<< /Type /Font /Subtype /Type1 /Name /ZaDb /BaseFont /ZapfDingbats >>");
    EndObj();
    s.FontResources += "/ZaDb " + std::to_string(n) + " 0 R ";
}

} // namespace tavlo
