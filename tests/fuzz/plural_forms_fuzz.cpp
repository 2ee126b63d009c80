// A Plural-Forms header, and the same text as the expression of one. Whatever it holds, a count's
// form is one of the header's, or English's where the expression gives none; a header that
// doesn't parse is English's rule.
#include "fuzz_check.h"
#include "language/plural_forms.h"

#include <limits>
#include <optional>
#include <string>
#include <string_view>

namespace {

void CheckForms(std::string_view header)
{
    const std::optional<CPluralForms> parsed = CPluralForms::Parse(header);
    const CPluralForms forms = PluralFormsOf(header);
    if (parsed)
        FUZZ_CHECK(parsed->Count() >= 1 && parsed->Count() <= kMaxPluralForms && parsed->Count() == forms.Count());
    else
        FUZZ_CHECK(forms.Count() == kEnglishPluralForms);
    const unsigned long counts[] = {0,
                                    1,
                                    2,
                                    3,
                                    4,
                                    5,
                                    11,
                                    12,
                                    14,
                                    21,
                                    22,
                                    25,
                                    100,
                                    101,
                                    111,
                                    1000001,
                                    std::numeric_limits<unsigned long>::max(),
                                    header.size()};
    for (const unsigned long n : counts) {
        const unsigned long form = forms.FormOf(n);
        const unsigned long english = n != 1 ? 1 : 0;
        FUZZ_CHECK(parsed ? form < forms.Count() || form == english : form == english);
        FUZZ_CHECK(!parsed || parsed->FormOf(n) == form);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes = FuzzBytes(data, size);
    CheckForms(bytes);
    CheckForms("nplurals=10; plural=" + std::string(bytes));
    return 0;
}
