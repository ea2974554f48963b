#include <gtest/gtest.h>
#include <windows.h>

#include <thread>
#include <utility>

#include "fake_automation.h"
#include "player/com_apartment_win32.h"
#include "player/com_ptr_win32.h"
#include "player/dispatch_win32.h"
#include "player/ole_values_win32.h"

namespace sabla::test {
namespace {

const IID kSomeInterface = {0x12345678, 0x1, 0x2, {1, 2, 3, 4, 5, 6, 7, 8}};

TEST(ComPtr, OwnsExactlyOneReference) {
  AutomationScript script;
  {
    ComPtr<FakeDispatch> object = FakeDispatch::create(script, L"Object");
    FakeDispatch* raw = object.get();
    EXPECT_EQ(raw->references(), 1u);
    {
      ComPtr<FakeDispatch> second = ComPtr<FakeDispatch>::copy_of(raw);
      EXPECT_EQ(raw->references(), 2u);
      ComPtr<FakeDispatch> moved = std::move(second);
      EXPECT_FALSE(second);
      EXPECT_EQ(raw->references(), 2u);
      moved = std::move(moved);  // self-move keeps the reference
      EXPECT_EQ(raw->references(), 2u);
    }
    EXPECT_EQ(raw->references(), 1u);

    ComPtr<IDispatch> as_dispatch;
    EXPECT_HRESULT_SUCCEEDED(object.query(IID_IDispatch, as_dispatch));
    EXPECT_EQ(raw->references(), 2u);
    EXPECT_EQ(object.query(kSomeInterface, as_dispatch), E_NOINTERFACE);
    EXPECT_FALSE(as_dispatch);  // the reference held before is dropped
    EXPECT_EQ(raw->references(), 1u);
    raw->add_interface(kSomeInterface, L"Some");
    EXPECT_HRESULT_SUCCEEDED(object.query(kSomeInterface, as_dispatch));
    as_dispatch.reset();
    EXPECT_EQ(ComPtr<IDispatch>().query(IID_IDispatch, as_dispatch), E_POINTER);

    // Assigning over a held pointer releases the old one.
    ComPtr<FakeDispatch> other = FakeDispatch::create(script, L"Other");
    EXPECT_EQ(script.live_objects, 2);
    other = std::move(object);
    EXPECT_EQ(script.live_objects, 1);
    EXPECT_EQ(other.get(), raw);
    FakeDispatch* released = other.release();
    EXPECT_FALSE(other);
    ComPtr<FakeDispatch> adopted(released);
  }
  EXPECT_EQ(script.live_objects, 0);
}

TEST(UniqueVariant, ReleasesWhatItHoldsAndMovesItOn) {
  AutomationScript script;
  {
    UniqueVariant holder;
    EXPECT_EQ(holder.type(), VT_EMPTY);
    set_object(holder.put(), ComPtr<IDispatch>(FakeDispatch::create(script, L"Object").release()));
    EXPECT_EQ(holder.type(), VT_DISPATCH);
    UniqueVariant moved = std::move(holder);
    EXPECT_EQ(holder.type(), VT_EMPTY);
    EXPECT_EQ(moved.type(), VT_DISPATCH);
    EXPECT_EQ(script.live_objects, 1);
    ComPtr<IDispatch> object = object_of(moved.get());
    EXPECT_TRUE(object);
    moved.reset();
    EXPECT_EQ(script.live_objects, 1);  // still held by `object`
  }
  EXPECT_EQ(script.live_objects, 0);

  VARIANT raw;
  VariantInit(&raw);
  set_bstr(&raw, L"text");
  UniqueVariant adopted = UniqueVariant::adopt(raw);
  EXPECT_EQ(raw.vt, VT_EMPTY);
  EXPECT_EQ(text_of(adopted.get()), std::wstring(L"text"));
  UniqueVariant assigned;
  assigned = std::move(adopted);
  EXPECT_EQ(text_of(assigned.get()), std::wstring(L"text"));
  EXPECT_FALSE(text_of(adopted.get()));
}

TEST(UniqueBstr, HoldsTextWithItsLength) {
  UniqueBstr text(std::wstring_view(L"a\0b", 3));
  EXPECT_EQ(text.view(), std::wstring_view(L"a\0b", 3));
  UniqueBstr moved = std::move(text);
  EXPECT_EQ(text.get(), nullptr);
  EXPECT_EQ(text.view(), L"");
  EXPECT_EQ(moved.view().size(), 3u);
  *moved.put() = SysAllocString(L"new");
  EXPECT_EQ(moved.view(), L"new");
  UniqueBstr empty(std::wstring_view{});
  EXPECT_NE(empty.get(), nullptr);
  EXPECT_EQ(empty.view(), L"");
}

TEST(DispatchAnswers, OnlyTheExpectedTypesCount) {
  EXPECT_EQ(int32_of(long_value(-3).get()), -3);
  EXPECT_EQ(int32_of(typed_value(VT_UI4, 0x7FFFFFFF).get()), 0x7FFFFFFF);
  EXPECT_FALSE(int32_of(typed_value(VT_UI4, 0x80000000).get()));
  EXPECT_EQ(int32_of(typed_value(VT_I8, -2147483648LL).get()), INT32_MIN);
  EXPECT_FALSE(int32_of(typed_value(VT_I8, -2147483649LL).get()));
  EXPECT_FALSE(int32_of(bstr_value(L"1").get()));
  EXPECT_FALSE(int32_of(UniqueVariant().get()));
  EXPECT_FALSE(text_of(long_value(1).get()));
  EXPECT_EQ(text_of(bstr_value(std::wstring_view(L"ab\0c", 4)).get()), std::wstring(L"ab"));
  VARIANT null_text;
  VariantInit(&null_text);
  null_text.vt = VT_BSTR;
  null_text.bstrVal = nullptr;
  EXPECT_EQ(text_of(null_text), std::wstring());
  VARIANT null_object;
  VariantInit(&null_object);
  null_object.vt = VT_UNKNOWN;
  null_object.punkVal = nullptr;
  EXPECT_FALSE(object_of(null_object));
  EXPECT_FALSE(object_of(bstr_value(L"x").get()));
}

TEST(DispatchCalls, ArgumentsArriveInOrderAndFailuresComeBack) {
  AutomationScript script;
  {
    ComPtr<FakeDispatch> object = FakeDispatch::create(script, L"Object");
    std::vector<int32_t> received;
    object->on(FakeDispatch::Kind::call, L"Take", [&](std::span<VARIANT> args, VARIANT* result) {
      for (const VARIANT& arg : args) received.push_back(long_argument(arg).value_or(-1));
      set_long(result, 99);
      return S_OK;
    });
    const VARIANT args[] = {int32_argument(1), int32_argument(2), int32_argument(3)};
    UniqueVariant result;
    EXPECT_HRESULT_SUCCEEDED(call_method(object.get(), L"take", args, result));
    EXPECT_EQ(received, (std::vector<int32_t>{1, 2, 3}));
    EXPECT_EQ(int32_of(result.get()), 99);
    EXPECT_EQ(call_method(object.get(), L"Missing"), DISP_E_UNKNOWNNAME);
    // A property that cannot be written refuses a put.
    EXPECT_EQ(put_property(object.get(), L"Take", int32_argument(1)), DISP_E_MEMBERNOTFOUND);
    EXPECT_EQ(call_method(nullptr, L"Take"), E_POINTER);
  }
  EXPECT_EQ(script.live_objects, 0);
}

TEST(ComApartment, PairsOnlyWhatItEntered) {
  std::thread([] {
    {
      ComApartment apartment;
      EXPECT_EQ(apartment.result(), S_OK);
      EXPECT_TRUE(apartment.usable());
      ComApartment nested;
      EXPECT_EQ(nested.result(), S_FALSE);
    }
    // Left entirely: entering again starts afresh.
    EXPECT_EQ(CoInitialize(nullptr), S_OK);
    CoUninitialize();

    // A thread in the multi-threaded apartment keeps it.
    ASSERT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK);
    {
      ComApartment apartment;
      EXPECT_EQ(apartment.result(), RPC_E_CHANGED_MODE);
      EXPECT_TRUE(apartment.usable());
    }
    EXPECT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_FALSE);
    CoUninitialize();
    CoUninitialize();
  }).join();
}

}  // namespace
}  // namespace sabla::test
