#!/usr/bin/env python3
"""Applies plausible faults to the product one at a time, rebuilds and runs
the whole suite, and says which faults the suite caught. Run from the top of
a clone whose windows-x64 build exists: scripts/mutation-check.py
[number ...]. Each fault is a literal replacement in one source file; the file
is restored after its run, whatever happened."""
import pathlib
import subprocess
import sys

ROOT = pathlib.Path(__file__).resolve().parents[1]
UI = "driver/ui/"

# (file, text, replacement, kind of fault)
FAULTS = [
    (UI + "entry/DrvDeviceCapabilities.cpp", "{DC_PRINTRATEPPM, 128}", "{DC_PRINTRATEPPM, 64}",
     "a fixed capability answer"),
    (UI + "pages/CDlgSecuritySetting.cpp", "_Check(kFillForms, p & kAllowFillForms);",
     "_Check(kFillForms, p & kAllowAccessibility);", "a record bit loaded into the wrong control"),
    (UI + "pages/CDlgFormSetting.cpp", "_SetUnit(m_pRecord->dwPaperUnit);",
     "_SetUnit(m_pRecord->dwPaperUnit == kUnitPoints ? kUnitInches : m_pRecord->dwPaperUnit);",
     "a record field shown in the wrong control"),
    (UI + "watermark/CWatermarkLayout.cpp", "{W - hw - right, H - hh - bottom},",
     "{W - hw - right, H - hh - right},", "one anchor of the layout"),
    (UI + "forms/CDlgUpdateForm.cpp", "value) >= OneInchIn(unit)", "value) > OneInchIn(unit)",
     "a limit: one inch refused"),
    (UI + "forms/CDlgUpdateForm.cpp", "if (number > LargestCustomFormSize(unit))",
     "if (number >= LargestCustomFormSize(unit))", "a limit: the largest size refused"),
    (UI + "forms/CFormManager.cpp", "count > kHwpFormLimit)", "count > kHwpFormLimit + 1)",
     "a limit: the hwp.exe cap one form late"),
    (UI + "update/CheckForUpdate.cpp", "return parts[i] > installed[i];",
     "return static_cast<short>(parts[i]) > static_cast<short>(installed[i]);",
     "version parts compared as signed numbers"),
    (UI + "record/SettingsRecord.cpp", "dm->dmDriverExtra == kPrivateSize", "dm->dmDriverExtra >= kPrivateSize",
     "a record of the wrong size taken as ours"),
    (UI + "pages/CDlgSecuritySetting.cpp", "EM_LIMITTEXT, kPasswordBytes, 0", "EM_LIMITTEXT, kPasswordBytes - 1, 0",
     "a limit: the password length"),
    (UI + "pages/CDlgDocInfoSetting.cpp", "&CDlgDocInfoSetting::m_hSubject, &TARVIK_DEVMODE::szSubject",
     "&CDlgDocInfoSetting::m_hSubject, &TARVIK_DEVMODE::szKeywords", "two record fields swapped"),
    (UI + "presets/PresetFields.cpp", "(a.nResolution == b.nResolution && ", "(",
     "a preset field left out of the match"),
]


def run(*command):
    return subprocess.run(command, cwd=ROOT, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)


def main():
    chosen = [int(n) for n in sys.argv[1:]] or range(1, len(FAULTS) + 1)
    caught = 0
    for number in chosen:
        path, text, replacement, kind = FAULTS[number - 1]
        source = ROOT / path
        original = source.read_text(encoding="utf-8")
        if original.count(text) != 1:
            print(f"{number:2} {kind}: the text to change is not there once", flush=True)
            continue
        try:
            source.write_text(original.replace(text, replacement), encoding="utf-8")
            build = run("cmake", "--build", "--preset", "windows-x64")
            if build.returncode != 0:
                verdict, failed = "does not build (no test run)", []
            else:
                tests = run("ctest", "--preset", "windows-x64")
                failed = [line.split()[3] for line in tests.stdout.splitlines() if "***" in line]
                verdict = "caught by" if tests.returncode != 0 else "MISSED"
        finally:
            source.write_text(original, encoding="utf-8")
        caught += verdict == "caught by"
        print(f"{number:2} {kind}: {verdict} {' '.join(failed)}", flush=True)
    print(f"{caught} of {len(chosen)} faults caught")
    run("cmake", "--build", "--preset", "windows-x64")


if __name__ == "__main__":
    main()
