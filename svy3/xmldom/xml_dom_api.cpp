// The exported XmlDom_ functions: each checks its handle, forwards to the CXmlDom behind it and
// keeps every exception (only allocation failures are possible) inside the library.
#include "svy3/xmldom/xml_dom_api.h"

#include <memory>

#include "svy3/platform/version_text.h"
#include "svy3/xmldom/xml_dom.h"

namespace {

ZAR::CXmlDom* Dom(XMLDOM_HANDLE handle) {
    return ZAR::DomOf(handle);
}

// Runs `call` on the handle's object; `failure` when the handle is 0 or the call throws.
template <class Result, class Call>
Result Guarded(XMLDOM_HANDLE handle, Result failure, Call call) noexcept {
    if (!handle)
        return failure;
    try {
        return call(*Dom(handle));
    } catch (...) {
        return failure;
    }
}

template <class Call>
void GuardedVoid(XMLDOM_HANDLE handle, Call call) noexcept {
    if (!handle)
        return;
    try {
        call(*Dom(handle));
    } catch (...) {
    }
}

const char kVersionText[] = "XMLDOM\t1.1.0.0\tVersion 1 Release 1\t2005-02-07\tSVY3-XMLDOM";

}  // namespace

extern "C" {

void SVY_STDCALL XmlDom_GetVerStr(char* buffer, int32_t size) {
    ZAR::platform::CopyVersionText(kVersionText, buffer, size);
}

XMLDOM_HANDLE SVY_STDCALL XmlDom_GetHandle(void) {
    try {
        return std::make_unique<ZAR::CXmlDom>().release();
    } catch (...) {
        return nullptr;
    }
}

void SVY_STDCALL XmlDom_ReleaseHandle(XMLDOM_HANDLE handle) {
    std::unique_ptr<ZAR::CXmlDom> owned(Dom(handle));
}

int16_t SVY_STDCALL XmlDom_InitializeNewXmlFile(XMLDOM_HANDLE handle, const char* comment,
                                                const char* rootName) {
    return Guarded<int16_t>(
        handle, 0, [&](ZAR::CXmlDom& d) { return d.InitializeNewXmlFile(comment, rootName); });
}

int32_t SVY_STDCALL XmlDom_LoadFile(XMLDOM_HANDLE handle, const char* path) {
    return Guarded<int32_t>(handle, 0, [&](ZAR::CXmlDom& d) { return d.LoadFile(path); });
}

int32_t SVY_STDCALL XmlDom_GetLoadResult(XMLDOM_HANDLE handle) {
    return Guarded<int32_t>(handle, XMLDOM_LOAD_NOT_READ,
                            [](ZAR::CXmlDom& d) { return d.LoadResult(); });
}

int16_t SVY_STDCALL XmlDom_SaveFile(XMLDOM_HANDLE handle, const char* path) {
    return Guarded<int16_t>(handle, XMLDOM_SAVE_WRITE_FAILED,
                            [&](ZAR::CXmlDom& d) { return d.SaveFile(path); });
}

int32_t SVY_STDCALL XmlDom_MoveToRootNode(XMLDOM_HANDLE handle) {
    GuardedVoid(handle, [](ZAR::CXmlDom& d) { d.MoveToRootNode(); });
    return 1;
}

int32_t SVY_STDCALL XmlDom_MoveToParentNode(XMLDOM_HANDLE handle, const char* name) {
    return Guarded<int32_t>(handle, 0, [&](ZAR::CXmlDom& d) { return d.MoveToParentNode(name); });
}

int32_t SVY_STDCALL XmlDom_MoveToFirstChildNode(XMLDOM_HANDLE handle, const char* name) {
    return Guarded<int32_t>(handle, 0,
                            [&](ZAR::CXmlDom& d) { return d.MoveToFirstChildNode(name); });
}

int32_t SVY_STDCALL XmlDom_MoveToNextSiblingNode(XMLDOM_HANDLE handle, const char* name) {
    return Guarded<int32_t>(handle, 0,
                            [&](ZAR::CXmlDom& d) { return d.MoveToNextSiblingNode(name); });
}

void SVY_STDCALL XmlDom_GetNodeInfo(XMLDOM_HANDLE handle, int16_t* hasChildren,
                                    int16_t* hasAttributes, int16_t* isText) {
    if (!handle) {
        if (hasChildren)
            *hasChildren = 0;
        if (hasAttributes)
            *hasAttributes = 0;
        if (isText)
            *isText = 0;
        return;
    }
    Dom(handle)->GetNodeInfo(hasChildren, hasAttributes, isText);
}

int16_t SVY_STDCALL XmlDom_GetNodeName(XMLDOM_HANDLE handle, char* buffer, int32_t* size) {
    return Guarded<int16_t>(handle, 0,
                            [&](ZAR::CXmlDom& d) { return d.GetNodeName(buffer, size); });
}

int16_t SVY_STDCALL XmlDom_GetNodeText(XMLDOM_HANDLE handle, char* buffer, int32_t* size) {
    return Guarded<int16_t>(handle, 0,
                            [&](ZAR::CXmlDom& d) { return d.GetNodeText(buffer, size); });
}

int32_t SVY_STDCALL XmlDom_SetNodeText(XMLDOM_HANDLE handle, const char* text) {
    return Guarded<int32_t>(handle, 0, [&](ZAR::CXmlDom& d) { return d.SetNodeText(text); });
}

int32_t SVY_STDCALL XmlDom_GetNodeAttributeText(XMLDOM_HANDLE handle, char* buffer, int32_t* size) {
    return Guarded<int32_t>(handle, 0,
                            [&](ZAR::CXmlDom& d) { return d.GetNodeAttributeText(buffer, size); });
}

int16_t SVY_STDCALL XmlDom_SetNodeAttributeText(XMLDOM_HANDLE handle, const char* name,
                                                const char* value) {
    return Guarded<int16_t>(handle, 0,
                            [&](ZAR::CXmlDom& d) { return d.SetNodeAttributeText(name, value); });
}

int32_t SVY_STDCALL XmlDom_AppendChildNode(XMLDOM_HANDLE handle, const char* name) {
    return Guarded<int32_t>(handle, 0, [&](ZAR::CXmlDom& d) { return d.AppendChildNode(name); });
}

int16_t SVY_STDCALL XmlDom_AppendTextChildNode(XMLDOM_HANDLE handle, const char* text) {
    return Guarded<int16_t>(handle, 0,
                            [&](ZAR::CXmlDom& d) { return d.AppendTextChildNode(text); });
}

int16_t SVY_STDCALL XmlDom_AppendComment(XMLDOM_HANDLE handle, const char* text) {
    return Guarded<int16_t>(handle, 0, [&](ZAR::CXmlDom& d) { return d.AppendComment(text); });
}

int32_t SVY_STDCALL XmlDom_RemoveCurrentNode(XMLDOM_HANDLE handle) {
    return Guarded<int32_t>(handle, 0, [](ZAR::CXmlDom& d) { return d.RemoveCurrentNode(); });
}

XMLDOM_NODE SVY_STDCALL XmlDom_GetCurrentNodeHandle(XMLDOM_HANDLE handle) {
    return Guarded<XMLDOM_NODE>(handle, nullptr,
                                [](ZAR::CXmlDom& d) { return d.GetCurrentNodeHandle(); });
}

int32_t SVY_STDCALL XmlDom_MoveToHandleNode(XMLDOM_HANDLE handle, XMLDOM_NODE node) {
    return Guarded<int32_t>(handle, 0, [&](ZAR::CXmlDom& d) { return d.MoveToHandleNode(node); });
}

void SVY_STDCALL XmlDom_ReleaseNodeHandle(XMLDOM_HANDLE handle, XMLDOM_NODE node) {
    GuardedVoid(handle, [&](ZAR::CXmlDom& d) { d.ReleaseNodeHandle(node); });
}

int32_t SVY_STDCALL XmlDom_AppendNodeCopy(XMLDOM_HANDLE handle, XMLDOM_NODE node, int32_t deep) {
    return Guarded<int32_t>(handle, 0,
                            [&](ZAR::CXmlDom& d) { return d.AppendNodeCopy(node, deep != 0); });
}

}  // extern "C"
