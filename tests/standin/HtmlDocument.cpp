// Built with C-style COM interfaces: the vtables are filled slot by slot, the
// few operations a watcher uses by hand and all others with generated stubs of
// the exact signature (see gen_com_stubs.py), so the object is also correct
// under 32-bit stdcall.
#define CINTERFACE
#define COBJMACROS
#include "HtmlDocument.h"

#include <ole2.h>
#include <oleacc.h>
#include <mshtml.h>

#include "HtmlStubs.inc"

namespace standin {

namespace {

// Each interface sits first in a standard-layout struct that points back to
// its object, so a method can find its object from This without offsetof
// tricks on a class with std:: members.
struct DocumentFace {
  IHTMLDocument2 iface;
  HtmlDocument* owner;
};
struct ElementFace {
  IHTMLElement iface;
  HtmlDocument* owner;
};
struct SheetFace {
  IHTMLStyleSheet iface;
  LONG refs;
  BSTR href;
};

BSTR MakeBstr(const std::wstring& text) {
  return SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
}

std::wstring FromBstr(BSTR value) {
  return value ? std::wstring(value, SysStringLen(value)) : std::wstring();
}

}  // namespace

class HtmlDocument {
public:
  DocumentFace document;
  ElementFace element;
  LONG refs = 1;
  DocumentBody* body;
  DocumentState state;

  explicit HtmlDocument(DocumentBody* owner);
  ULONG AddRef() { return static_cast<ULONG>(InterlockedIncrement(&refs)); }
  ULONG Release() {
    LONG left = InterlockedDecrement(&refs);
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
  }
  void Called(const char* name) {
    ++state.calls[name];
    if (body) body->DocumentCalled(name);
  }
};

namespace {

HtmlDocument* Of(IHTMLDocument2* This) {
  return reinterpret_cast<DocumentFace*>(This)->owner;
}
HtmlDocument* Of(IHTMLElement* This) {
  return reinterpret_cast<ElementFace*>(This)->owner;
}
SheetFace* Of(IHTMLStyleSheet* This) {
  return reinterpret_cast<SheetFace*>(This);
}

// --- the style sheet handed back by createStyleSheet -------------------------

HRESULT STDMETHODCALLTYPE SheetQueryInterface(IHTMLStyleSheet* This, REFIID riid, void** out) {
  if (!out) return E_POINTER;
  if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch) || IsEqualIID(riid, IID_IHTMLStyleSheet)) {
    *out = This;
    IHTMLStyleSheet_AddRef(This);
    return S_OK;
  }
  *out = nullptr;
  return E_NOINTERFACE;
}
ULONG STDMETHODCALLTYPE SheetAddRef(IHTMLStyleSheet* This) {
  return static_cast<ULONG>(InterlockedIncrement(&Of(This)->refs));
}
ULONG STDMETHODCALLTYPE SheetRelease(IHTMLStyleSheet* This) {
  SheetFace* sheet = Of(This);
  LONG left = InterlockedDecrement(&sheet->refs);
  if (left == 0) {
    SysFreeString(sheet->href);
    delete sheet;
  }
  return static_cast<ULONG>(left);
}
HRESULT STDMETHODCALLTYPE SheetGetTypeInfoCount(IHTMLStyleSheet*, UINT* count) {
  if (!count) return E_POINTER;
  *count = 0;
  return S_OK;
}
HRESULT STDMETHODCALLTYPE SheetGetHref(IHTMLStyleSheet* This, BSTR* out) {
  if (!out) return E_POINTER;
  *out = SysAllocString(Of(This)->href);
  return S_OK;
}

IHTMLStyleSheetVtbl* SheetVtbl() {
  static IHTMLStyleSheetVtbl vtbl = [] {
    IHTMLStyleSheetVtbl v{};
    FillStubs_IHTMLStyleSheet(&v);
    v.QueryInterface = SheetQueryInterface;
    v.AddRef = SheetAddRef;
    v.Release = SheetRelease;
    v.GetTypeInfoCount = SheetGetTypeInfoCount;
    v.get_href = SheetGetHref;
    return v;
  }();
  return &vtbl;
}

// --- the document -------------------------------------------------------------

HRESULT STDMETHODCALLTYPE DocQueryInterface(IHTMLDocument2* This, REFIID riid, void** out) {
  if (!out) return E_POINTER;
  if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch) || IsEqualIID(riid, IID_IHTMLDocument) ||
      IsEqualIID(riid, IID_IHTMLDocument2)) {
    *out = This;
    Of(This)->AddRef();
    return S_OK;
  }
  *out = nullptr;
  return E_NOINTERFACE;
}
ULONG STDMETHODCALLTYPE DocAddRef(IHTMLDocument2* This) {
  return Of(This)->AddRef();
}
ULONG STDMETHODCALLTYPE DocRelease(IHTMLDocument2* This) {
  return Of(This)->Release();
}
HRESULT STDMETHODCALLTYPE DocGetTypeInfoCount(IHTMLDocument2*, UINT* count) {
  if (!count) return E_POINTER;
  *count = 0;
  return S_OK;
}
HRESULT STDMETHODCALLTYPE DocGetBody(IHTMLDocument2* This, IHTMLElement** out) {
  if (!out) return E_POINTER;
  HtmlDocument* doc = Of(This);
  *out = nullptr;
  doc->Called("get_body");
  if (!doc->body) return E_FAIL;
  *out = &doc->element.iface;
  doc->AddRef();
  return S_OK;
}
HRESULT STDMETHODCALLTYPE DocGetReadyState(IHTMLDocument2* This, BSTR* out) {
  if (!out) return E_POINTER;
  HtmlDocument* doc = Of(This);
  *out = MakeBstr(doc->state.readyState);
  doc->Called("get_readyState");
  return S_OK;
}
HRESULT STDMETHODCALLTYPE DocGetTitle(IHTMLDocument2* This, BSTR* out) {
  if (!out) return E_POINTER;
  HtmlDocument* doc = Of(This);
  *out = MakeBstr(doc->state.title);
  doc->Called("get_title");
  return S_OK;
}
HRESULT STDMETHODCALLTYPE DocPutTitle(IHTMLDocument2* This, BSTR value) {
  HtmlDocument* doc = Of(This);
  doc->state.title = FromBstr(value);
  doc->Called("put_title");
  return S_OK;
}
HRESULT STDMETHODCALLTYPE DocCreateStyleSheet(IHTMLDocument2* This, BSTR href, LONG index, IHTMLStyleSheet** out) {
  if (!out) return E_POINTER;
  HtmlDocument* doc = Of(This);
  doc->state.styleSheets.emplace_back(FromBstr(href), static_cast<long>(index));
  auto* sheet = new SheetFace{{SheetVtbl()}, 1, SysAllocString(href)};
  *out = &sheet->iface;
  doc->Called("createStyleSheet");
  return S_OK;
}

IHTMLDocument2Vtbl* DocumentVtbl() {
  static IHTMLDocument2Vtbl vtbl = [] {
    IHTMLDocument2Vtbl v{};
    FillStubs_IHTMLDocument2(&v);
    v.QueryInterface = DocQueryInterface;
    v.AddRef = DocAddRef;
    v.Release = DocRelease;
    v.GetTypeInfoCount = DocGetTypeInfoCount;
    v.get_body = DocGetBody;
    v.get_readyState = DocGetReadyState;
    v.get_title = DocGetTitle;
    v.put_title = DocPutTitle;
    v.createStyleSheet = DocCreateStyleSheet;
    return v;
  }();
  return &vtbl;
}

// --- the body element ---------------------------------------------------------

HRESULT STDMETHODCALLTYPE ElemQueryInterface(IHTMLElement* This, REFIID riid, void** out) {
  if (!out) return E_POINTER;
  if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch) || IsEqualIID(riid, IID_IHTMLElement)) {
    *out = This;
    Of(This)->AddRef();
    return S_OK;
  }
  *out = nullptr;
  return E_NOINTERFACE;
}
ULONG STDMETHODCALLTYPE ElemAddRef(IHTMLElement* This) {
  return Of(This)->AddRef();
}
ULONG STDMETHODCALLTYPE ElemRelease(IHTMLElement* This) {
  return Of(This)->Release();
}
HRESULT STDMETHODCALLTYPE ElemGetTypeInfoCount(IHTMLElement*, UINT* count) {
  if (!count) return E_POINTER;
  *count = 0;
  return S_OK;
}
HRESULT STDMETHODCALLTYPE ElemGetTagName(IHTMLElement*, BSTR* out) {
  if (!out) return E_POINTER;
  *out = SysAllocString(L"BODY");
  return S_OK;
}
HRESULT STDMETHODCALLTYPE ElemGetInnerText(IHTMLElement* This, BSTR* out) {
  if (!out) return E_POINTER;
  HtmlDocument* doc = Of(This);
  *out = nullptr;
  if (!doc->body) return E_FAIL;
  *out = MakeBstr(doc->body->BodyText());
  doc->Called("get_innerText");
  return S_OK;
}
HRESULT STDMETHODCALLTYPE ElemPutInnerText(IHTMLElement* This, BSTR value) {
  HtmlDocument* doc = Of(This);
  if (!doc->body) return E_FAIL;
  doc->body->SetBodyText(FromBstr(value));
  doc->Called("put_innerText");
  return S_OK;
}
HRESULT STDMETHODCALLTYPE ElemGetInnerHtml(IHTMLElement* This, BSTR* out) {
  if (!out) return E_POINTER;
  HtmlDocument* doc = Of(This);
  *out = nullptr;
  if (!doc->body) return E_FAIL;
  *out = MakeBstr(doc->body->BodyHtml());
  doc->Called("get_innerHTML");
  return S_OK;
}
HRESULT STDMETHODCALLTYPE ElemPutInnerHtml(IHTMLElement* This, BSTR value) {
  HtmlDocument* doc = Of(This);
  if (!doc->body) return E_FAIL;
  doc->body->SetBodyHtml(FromBstr(value));
  doc->Called("put_innerHTML");
  return S_OK;
}
HRESULT STDMETHODCALLTYPE ElemGetOuterHtml(IHTMLElement* This, BSTR* out) {
  if (!out) return E_POINTER;
  HtmlDocument* doc = Of(This);
  *out = nullptr;
  if (!doc->body) return E_FAIL;
  *out = MakeBstr(L"<BODY>" + doc->body->BodyHtml() + L"</BODY>");
  doc->Called("get_outerHTML");
  return S_OK;
}

IHTMLElementVtbl* ElementVtbl() {
  static IHTMLElementVtbl vtbl = [] {
    IHTMLElementVtbl v{};
    FillStubs_IHTMLElement(&v);
    v.QueryInterface = ElemQueryInterface;
    v.AddRef = ElemAddRef;
    v.Release = ElemRelease;
    v.GetTypeInfoCount = ElemGetTypeInfoCount;
    v.get_tagName = ElemGetTagName;
    v.get_innerText = ElemGetInnerText;
    v.put_innerText = ElemPutInnerText;
    v.get_innerHTML = ElemGetInnerHtml;
    v.put_innerHTML = ElemPutInnerHtml;
    v.get_outerHTML = ElemGetOuterHtml;
    return v;
  }();
  return &vtbl;
}

}  // namespace

HtmlDocument::HtmlDocument(DocumentBody* owner)
    : document{{DocumentVtbl()}, this}, element{{ElementVtbl()}, this}, body(owner) {}

HtmlDocument* CreateHtmlDocument(DocumentBody* body) {
  return new HtmlDocument(body);
}

void DetachHtmlDocument(HtmlDocument* document) {
  document->body = nullptr;
  // The element was marshalled as an identity of its own.
  CoDisconnectObject(reinterpret_cast<IUnknown*>(&document->element.iface), 0);
  CoDisconnectObject(reinterpret_cast<IUnknown*>(&document->document.iface), 0);
  document->Release();
}

DocumentState& StateOf(HtmlDocument* document) {
  return document->state;
}

LRESULT DocumentLresult(HtmlDocument* document, WPARAM wParam) {
  return LresultFromObject(IID_IHTMLDocument2, wParam, reinterpret_cast<IUnknown*>(&document->document.iface));
}

void* PreloadDocumentTypeLibrary() {
  // The interfaces' own registry entries name the library that describes them.
  ITypeLib* library = nullptr;
  const GUID mshtmlLibrary = {0x3050F1C5, 0x98B5, 0x11CF, {0xBB, 0x82, 0x00, 0xAA, 0x00, 0xBD, 0xCE, 0x0B}};
  if (FAILED(LoadRegTypeLib(mshtmlLibrary, 4, 0, LOCALE_NEUTRAL, &library))) return nullptr;
  for (REFIID iid : {IID_IHTMLDocument2, IID_IHTMLElement}) {
    ITypeInfo* info = nullptr;
    if (SUCCEEDED(ITypeLib_GetTypeInfoOfGuid(library, iid, &info))) ITypeInfo_Release(info);
  }
  return library;
}

void ReleaseDocumentTypeLibrary(void* library) {
  if (library) ITypeLib_Release(static_cast<ITypeLib*>(library));
}

}  // namespace standin
