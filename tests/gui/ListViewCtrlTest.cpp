// CListViewCtrl against a real list-view control of the platform.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

#include "ui/win32/framework/ListViewCtrl.h"

namespace {

class ListViewCtrlTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES};
        ::InitCommonControlsEx(&controls);
        m_list = ::CreateWindowExW(0, WC_LISTVIEWW, L"", WS_POPUP | LVS_REPORT | LVS_SINGLESEL | LVS_SORTASCENDING,
                                   0, 0, 300, 200, nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(m_list.m_hWnd, nullptr);
        ASSERT_EQ(m_list.InsertColumn(0, L"Name"), 0);
        ASSERT_EQ(m_list.InsertColumn(1, L"Number"), 1);
    }
    void TearDown() override
    {
        if (m_list.m_hWnd != nullptr)
            ::DestroyWindow(m_list.Detach());
    }

    // Inserts rows as the list dialog does: item data = insertion index.
    void Insert(const std::vector<std::pair<std::wstring, std::wstring>>& rows)
    {
        int count = 0;
        for (const auto& [name, number] : rows) {
            int index = m_list.InsertItem(count, name.c_str(), count);
            ASSERT_GE(index, 0);
            ASSERT_TRUE(m_list.SetItemText(index, 1, number.c_str()));
            ++count;
        }
    }

    std::vector<std::wstring> Column(int column) const
    {
        std::vector<std::wstring> texts;
        for (int row = 0; row < m_list.GetItemCount(); ++row)
            texts.push_back(m_list.GetItemText(row, column, 512));
        return texts;
    }

    CListViewCtrl m_list;
};

TEST_F(ListViewCtrlTest, InsertionKeepsTheSortStyleAndTheItemData)
{
    Insert({{L"Mum", L"101"}, {L"dad", L"102"}, {L"Office", L"200"}, {L"Alice", L"300"}});
    EXPECT_EQ(Column(0), (std::vector<std::wstring>{L"Alice", L"dad", L"Mum", L"Office"}));
    EXPECT_EQ(Column(1), (std::vector<std::wstring>{L"300", L"102", L"101", L"200"}));

    // Each item data is found where its row went.
    const std::pair<LPARAM, int> rows[] = {{0, 2}, {1, 1}, {2, 3}, {3, 0}, {9, -1}};
    for (const auto& [data, index] : rows) {
        EXPECT_EQ(m_list.FindItemByData(data), index) << data;
        if (index >= 0) {
            EXPECT_EQ(m_list.GetItemData(index), data);
        }
    }
    ASSERT_TRUE(m_list.SetItemData(0, 0x7FFFFFF0));
    EXPECT_EQ(m_list.FindItemByData(0x7FFFFFF0), 0);
    EXPECT_EQ(m_list.FindItemByData(3), -1);
}

TEST_F(ListViewCtrlTest, ItemTextIsCutToTheRoomGiven)
{
    Insert({{L"Straßen-Taxi", L"+4930000000"}});
    const std::pair<int, std::wstring> cases[] = {
        {512, L"Straßen-Taxi"}, {13, L"Straßen-Taxi"}, {12, L"Straßen-Tax"}, {2, L"S"}, {1, L""}, {0, L""}};
    for (const auto& [room, text] : cases)
        EXPECT_EQ(m_list.GetItemText(0, 0, room), text) << room;
    EXPECT_EQ(m_list.GetItemText(5, 0, 512), L"") << "no such row";
}

int CALLBACK ByNumberDescending(LPARAM first, LPARAM second, LPARAM context)
{
    auto* list = reinterpret_cast<CListViewCtrl*>(context);
    std::wstring a = list->GetItemText(list->FindItemByData(first), 1, 512);
    std::wstring b = list->GetItemText(list->FindItemByData(second), 1, 512);
    return b.compare(a);
}

TEST_F(ListViewCtrlTest, SortItemsPassesItemDataAndContext)
{
    Insert({{L"A", L"2"}, {L"B", L"3"}, {L"C", L"1"}});
    ASSERT_TRUE(m_list.SortItems(ByNumberDescending, reinterpret_cast<LPARAM>(&m_list)));
    EXPECT_EQ(Column(1), (std::vector<std::wstring>{L"3", L"2", L"1"}));
    EXPECT_EQ(Column(0), (std::vector<std::wstring>{L"B", L"A", L"C"}));
}

} // namespace
