#pragma once

namespace Brelvan {

// The ten pages of the main window, in tab order.
enum class Page { Diary, Clients, Paint, Quotes, Jobs, Expenses, Income, Inventory, Wages, Office };

constexpr int pageCount = int(Page::Office) + 1;

} // namespace Brelvan
