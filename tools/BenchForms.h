// The benchmarks' own custom forms: the first `count` of "Bench Form 000" to
// "Bench Form 499" are present, the rest are removed (0 removes them all).
#pragma once

#include "forms/CFormManager.h"

#include <cwchar>
#include <iterator>

constexpr unsigned kMostBenchForms = 500;

inline void SetBenchForms(unsigned count)
{
    CFormManager forms;
    for (unsigned i = 0; i < kMostBenchForms; ++i)
    {
        wchar_t name[32];
        std::swprintf(name, std::size(name), L"Bench Form %03u", i);
        if (i < count)
            forms.AddForm(name, 100 + i % 400, 150 + i % 300);
        else
            forms.DeleteForm(name);
    }
}
