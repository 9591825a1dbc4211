#pragma once

#include <windows.h>
#include <winspool.h>

// Adds the PostScript printer "TestPS", writing every job to C:\print.ps, as the
// prefix's default printer; true when it is there.
inline bool testPrinterAdd() {
    HMODULE spool = LoadLibraryExW(L"winspool.drv", nullptr, LOAD_LIBRARY_AS_DATAFILE);
    HRSRC res = spool ? FindResourceW(spool, MAKEINTRESOURCEW(1), L"PPDFILE") : nullptr;
    if (!res) return false;
    wchar_t ppd[MAX_PATH];
    GetTempPathW(MAX_PATH, ppd);
    lstrcatW(ppd, L"testps.ppd");
    HANDLE file = CreateFileW(ppd, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(file, LockResource(LoadResource(spool, res)), SizeofResource(spool, res), &written, nullptr);
    CloseHandle(file);
    AddPrintProcessorW(nullptr, nullptr, const_cast<wchar_t*>(L"wineps.drv"), const_cast<wchar_t*>(L"wineps"));
    DRIVER_INFO_3W driver{};
    driver.cVersion = 3;
    driver.pName = const_cast<wchar_t*>(L"TestPS");
    driver.pDriverPath = driver.pConfigFile = const_cast<wchar_t*>(L"wineps.drv");
    driver.pDataFile = ppd;
    driver.pDefaultDataType = const_cast<wchar_t*>(L"RAW");
    AddPrinterDriverExW(nullptr, 3, reinterpret_cast<BYTE*>(&driver), APD_COPY_NEW_FILES | APD_COPY_FROM_DIRECTORY);
    PRINTER_INFO_2W info{};
    info.pPrinterName = info.pDriverName = const_cast<wchar_t*>(L"TestPS");
    info.pPortName = const_cast<wchar_t*>(L"C:\\print.ps");
    info.pPrintProcessor = const_cast<wchar_t*>(L"winprint");
    info.pDatatype = const_cast<wchar_t*>(L"RAW");
    info.pParameters = info.pShareName = info.pSepFile = const_cast<wchar_t*>(L"");
    if (HANDLE printer = AddPrinterW(nullptr, 2, reinterpret_cast<BYTE*>(&info))) ClosePrinter(printer);
    return SetDefaultPrinterW(L"TestPS") != FALSE;
}
