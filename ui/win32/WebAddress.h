// The project's web address, opened by the main dialog's link.
#pragma once

constexpr const wchar_t* VelmoraWebAddress = L"https://velmora.example/";
