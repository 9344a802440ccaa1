// SPDX-License-Identifier: GPL-3.0-or-later
// Reading Notes COM results (see ComValues.h).
#include "notes/com/ComValues.h"

#include "notes/NotesError.h"
#include "notes/com/ComFailure.h"
#include "notes/com/ComText.h"
#include "notes/com/Variant.h"

#include <cmath>

namespace notes::com {

namespace {

// Notes keeps CR LF inside texts on Windows; the object model's texts break lines with "\n".
std::string withNewlines(std::string text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            out += '\n';
            if (i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

// The Windows headers declare the source of VariantChangeType and VariantCopyInd without const,
// though neither changes it.
VARIANT *source(const VARIANT &value)
{
    return const_cast<VARIANT *>(&value);
}

std::string bstrText(BSTR s)
{
    return s ? toUtf8(s, SysStringLen(s)) : std::string();
}

bool isNumberType(VARTYPE vt)
{
    switch (vt) {
    case VT_I1:
    case VT_I2:
    case VT_I4:
    case VT_I8:
    case VT_INT:
    case VT_UI1:
    case VT_UI2:
    case VT_UI4:
    case VT_UI8:
    case VT_UINT:
    case VT_R4:
    case VT_R8:
    case VT_CY:
    case VT_DECIMAL:
    case VT_BOOL:
        return true;
    default:
        return false;
    }
}

double numberFrom(const VARIANT &value, const std::string &member)
{
    Variant number;
    const HRESULT hr = VariantChangeType(number.out(), source(value), 0, VT_R8);
    if (FAILED(hr))
        throwFailure(member, hr);
    return number.value().dblVal;
}

// One element of a SAFEARRAY of `type` into a VARIANT of its own.
Variant arrayElement(SAFEARRAY *array, VARTYPE type, LONG index, const std::string &member)
{
    Variant element;
    HRESULT hr = S_OK;
    if (type == VT_VARIANT) {
        hr = SafeArrayGetElement(array, &index, element.out());
    } else if (type == VT_DECIMAL) {
        // A DECIMAL fills the whole VARIANT, its type field included, so the type goes in last.
        DECIMAL d{};
        hr = SafeArrayGetElement(array, &index, &d);
        element.out()->decVal = d;
        element.value().vt = VT_DECIMAL;
    } else if (type == VT_BSTR || type == VT_DATE || isNumberType(type)) {
        VARIANT *v = element.out();
        hr = SafeArrayGetElement(array, &index, &v->llVal);
        if (SUCCEEDED(hr))
            v->vt = type;
    } else {
        throw NotesError("Notes " + member + ": an array of type " + std::to_string(type) +
                         " cannot be read");
    }
    if (FAILED(hr))
        throwFailure(member, hr);
    return element;
}

} // namespace

DateTime dateTimeFrom(DATE date, const std::string &member)
{
    SYSTEMTIME st{};
    if (!VariantTimeToSystemTime(date, &st))
        throw NotesError("Notes " + member + ": the date " + std::to_string(date) +
                         " is out of range");
    double day = 0.0;
    const double time = std::modf(date, &day);
    DateTime dt;
    dt.hasDate = day != 0.0;
    dt.hasTime = time != 0.0 || day == 0.0;
    if (dt.hasDate) {
        dt.year = st.wYear;
        dt.month = st.wMonth;
        dt.day = st.wDay;
    }
    if (dt.hasTime) {
        dt.hour = st.wHour;
        dt.minute = st.wMinute;
        dt.second = st.wSecond;
    }
    return dt;
}

ItemValue itemValueFrom(const VARIANT &value, const std::string &member)
{
    if (value.vt & VT_BYREF) {
        Variant direct;
        const HRESULT hr = VariantCopyInd(direct.out(), source(value));
        if (FAILED(hr))
            throwFailure(member, hr);
        return itemValueFrom(direct.value(), member);
    }
    if (value.vt == VT_EMPTY || value.vt == VT_NULL)
        return ItemValue::fromText({});
    if (value.vt == VT_BSTR)
        return ItemValue::fromText(withNewlines(bstrText(value.bstrVal)));
    if (value.vt == VT_DATE)
        return ItemValue::fromDateTime(dateTimeFrom(value.date, member));
    if (isNumberType(value.vt))
        return ItemValue::fromNumber(numberFrom(value, member));
    // Any other kind (a rich text object, say): its text if COM can give one.
    Variant text;
    const HRESULT hr = VariantChangeType(text.out(), source(value), 0, VT_BSTR);
    if (FAILED(hr))
        throw NotesError("Notes " + member + ": a value of type " + std::to_string(value.vt) +
                         " cannot be read");
    return ItemValue::fromText(withNewlines(bstrText(text.value().bstrVal)));
}

std::vector<Variant> arrayElements(const VARIANT &result, const std::string &member)
{
    std::vector<Variant> elements;
    SAFEARRAY *array =
        (result.vt & VT_BYREF) ? (result.pparray ? *result.pparray : nullptr) : result.parray;
    if (!array)
        return elements;
    if (SafeArrayGetDim(array) != 1)
        throw NotesError("Notes " + member + ": the value array has " +
                         std::to_string(SafeArrayGetDim(array)) + " dimensions");
    LONG lower = 0;
    LONG upper = -1;
    HRESULT hr = SafeArrayGetLBound(array, 1, &lower);
    if (SUCCEEDED(hr))
        hr = SafeArrayGetUBound(array, 1, &upper);
    if (FAILED(hr))
        throwFailure(member, hr);
    const auto type = static_cast<VARTYPE>(result.vt & VT_TYPEMASK);
    for (LONG i = lower; i <= upper; ++i)
        elements.push_back(arrayElement(array, type, i, member));
    return elements;
}

ItemValues itemValuesFrom(const VARIANT &result, const std::string &member)
{
    ItemValues values;
    if (result.vt & VT_ARRAY) {
        for (const Variant &element : arrayElements(result, member))
            values.push_back(itemValueFrom(element.value(), member));
    } else {
        values.push_back(itemValueFrom(result, member));
    }
    if (values.empty())
        values.push_back(ItemValue::fromText({}));
    return values;
}

std::string textFrom(const VARIANT &result, const std::string &member)
{
    if (result.vt == VT_EMPTY || result.vt == VT_NULL)
        return {};
    if (result.vt == VT_BSTR)
        return bstrText(result.bstrVal);
    Variant text;
    const HRESULT hr = VariantChangeType(text.out(), source(result), 0, VT_BSTR);
    if (FAILED(hr))
        throwFailure(member, hr);
    return bstrText(text.value().bstrVal);
}

std::int64_t integerFrom(const VARIANT &result, const std::string &member)
{
    const double n = numberFrom(result, member);
    if (!std::isfinite(n) || std::fabs(n) > 9.0e15)
        throw NotesError("Notes " + member + ": " + std::to_string(n) + " is not a count");
    return static_cast<std::int64_t>(std::llround(n));
}

} // namespace notes::com
