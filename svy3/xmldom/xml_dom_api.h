// The XmlDom_ functions: a plain C interface over one in-memory XML document per handle.
//
// A document handle owns one document, a cursor (the current node) on it and the node handles it
// has given out. Every navigation, text, attribute and append call works relative to the cursor.
// Results are 1 for success and 0 for failure unless a function says otherwise; a failed call
// leaves the cursor and the document as they were. No function throws.
//
// Texts cross the interface as UTF-8. Functions that return a text use the buffer protocol: the
// 32-bit integer behind `size` holds the buffer's capacity in bytes on entry; when the value exists
// the bytes it needs (length plus terminator) are written back to it in every case, and the text is
// copied only when it fits (result 1) - otherwise the buffer is untouched (result 0) and the caller
// can retry with the size written back. When there is no value the size is set to 0.
#pragma once

#include <cstdint>

#include "svy3/platform/export.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef void* XMLDOM_HANDLE;  // document handle; 0 means none
typedef void* XMLDOM_NODE;    // node handle; 0 means none

// Save results of XmlDom_SaveFile.
enum {
    XMLDOM_SAVE_OK = 0,
    XMLDOM_SAVE_NO_FILE_NAME = 201,   // no path given and none known from a load
    XMLDOM_SAVE_NOT_WRITABLE = 202,   // the file cannot be opened for writing; nothing written
    XMLDOM_SAVE_WRITE_FAILED = -200,  // writing failed; the previous file is unchanged
};

// Results of XmlDom_GetLoadResult: why the last XmlDom_LoadFile failed.
enum {
    XMLDOM_LOAD_OK = 0,
    XMLDOM_LOAD_NOT_READ = 1,  // no path, not a regular file, or it could not be read
    XMLDOM_LOAD_NOT_XML = 2,   // the file is not well-formed XML
    XMLDOM_LOAD_TOO_DEEP = 3,  // nodes nest deeper than XMLDOM_MAX_DEPTH levels
};

// The deepest nesting a document may have: the root element is level 1, its children level 2, and
// so on. Project documents use about ten levels. The limit keeps every walk, copy and save of a
// document short and its saved file in proportion to it (the saved indentation grows with depth):
// loading refuses a deeper file, and appends and copies that would go deeper are refused.
#define XMLDOM_MAX_DEPTH 256

// Fills `buffer` with the module version text (five tab-separated fields); the buffer must hold
// the text's length plus 2 bytes, a smaller one receives the empty text.
SVY3_API void SVY_STDCALL XmlDom_GetVerStr(char* buffer, int32_t size);

// Creates a document handle with an empty document and no current node; 0 when out of memory.
SVY3_API XMLDOM_HANDLE SVY_STDCALL XmlDom_GetHandle(void);
// Destroys a document handle with its document and every node handle it gave out; 0 is allowed.
SVY3_API void SVY_STDCALL XmlDom_ReleaseHandle(XMLDOM_HANDLE handle);

// Builds a new document: the declaration, the root element `rootName` and, when `comment` is
// non-empty, a comment as the root's first child. The cursor ends on the root. Marks the document
// writable. Fails (0, nothing changed) when the document already has nodes.
SVY3_API int16_t SVY_STDCALL XmlDom_InitializeNewXmlFile(XMLDOM_HANDLE handle, const char* comment,
                                                         const char* rootName);
// Parses the file at `path` into the document and puts the cursor on the root element. The path is
// remembered for saving, and whether the file can be opened for writing is tested, even when the
// load fails. On failure the previous document stays; a file nested deeper than XMLDOM_MAX_DEPTH
// levels is refused. A successful load invalidates the nodes of node handles taken on the previous
// document (they then hold no node).
SVY3_API int32_t SVY_STDCALL XmlDom_LoadFile(XMLDOM_HANDLE handle, const char* path);
// Why the last XmlDom_LoadFile of this handle failed (an XMLDOM_LOAD_ value); XMLDOM_LOAD_OK after
// a successful load or before any, and XMLDOM_LOAD_NOT_READ for a null handle.
SVY3_API int32_t SVY_STDCALL XmlDom_GetLoadResult(XMLDOM_HANDLE handle);
// Saves the document to `path`, or, when it is null or empty, to the path of the last load.
// Returns 0 when saved, 201 when no path is known, 202 when the file cannot be written (a save
// without a path uses the test made at load time) and -200 when writing failed. The test creates
// nothing: a missing file counts as writable when its folder is. The file is replaced through a
// temporary file in the same folder (named after it, with a suffix ".svy3-" and six letters or
// digits), which is written, synced and renamed over it, after which the folder is synced; a
// failed or interrupted save leaves the previous file as it was. A temporary file left by a save
// that was killed is removed by the next save to the same path.
SVY3_API int16_t SVY_STDCALL XmlDom_SaveFile(XMLDOM_HANDLE handle, const char* path);

// Moves the cursor to the root element (no node when the document has none); always 1.
SVY3_API int32_t SVY_STDCALL XmlDom_MoveToRootNode(XMLDOM_HANDLE handle);
// Moves to the parent, or with a name filter to the nearest ancestor of that name. Without a
// current node the root element is the candidate.
SVY3_API int32_t SVY_STDCALL XmlDom_MoveToParentNode(XMLDOM_HANDLE handle, const char* name);
// Moves to the first child (any kind of node), or with a filter to the first child of that name.
SVY3_API int32_t SVY_STDCALL XmlDom_MoveToFirstChildNode(XMLDOM_HANDLE handle, const char* name);
// Moves to the next sibling, or with a filter to the next following sibling of that name.
SVY3_API int32_t SVY_STDCALL XmlDom_MoveToNextSiblingNode(XMLDOM_HANDLE handle, const char* name);

// Sets the three outputs (any may be null) to 0, then to 1 when the current node has a child,
// has at least one attribute, is a text node.
SVY3_API void SVY_STDCALL XmlDom_GetNodeInfo(XMLDOM_HANDLE handle, int16_t* hasChildren,
                                             int16_t* hasAttributes, int16_t* isText);
// The current node's name (buffer protocol): the tag of an element, the target of a processing
// instruction or declaration, "#text", "#cdata-section", "#comment" or "#document".
SVY3_API int16_t SVY_STDCALL XmlDom_GetNodeName(XMLDOM_HANDLE handle, char* buffer, int32_t* size);
// The current node's text (buffer protocol): the node's own text when it is a text node, else the
// text of its first child when that is a text node; otherwise there is no value.
SVY3_API int16_t SVY_STDCALL XmlDom_GetNodeText(XMLDOM_HANDLE handle, char* buffer, int32_t* size);
// Replaces the text found by the same rule as XmlDom_GetNodeText; never creates a text node.
SVY3_API int32_t SVY_STDCALL XmlDom_SetNodeText(XMLDOM_HANDLE handle, const char* text);
// Reads the attribute named by the text in `buffer` (terminated within its capacity) into the same
// buffer (buffer protocol). A missing attribute gives 0 with size 0.
SVY3_API int32_t SVY_STDCALL XmlDom_GetNodeAttributeText(XMLDOM_HANDLE handle, char* buffer,
                                                         int32_t* size);
// Sets an attribute of the current element, creating or replacing it; a null value removes it.
SVY3_API int16_t SVY_STDCALL XmlDom_SetNodeAttributeText(XMLDOM_HANDLE handle, const char* name,
                                                         const char* value);

// Appends an element as the last child of the current node and moves the cursor onto it. Appending
// an element to a document that has no root element makes it the root; a second element at
// document level is refused, and so is a node deeper than XMLDOM_MAX_DEPTH (for every append).
SVY3_API int32_t SVY_STDCALL XmlDom_AppendChildNode(XMLDOM_HANDLE handle, const char* name);
// Appends a text node as the last child of the current element; the cursor stays.
SVY3_API int16_t SVY_STDCALL XmlDom_AppendTextChildNode(XMLDOM_HANDLE handle, const char* text);
// Appends a comment as the last child of the current node; the cursor stays.
SVY3_API int16_t SVY_STDCALL XmlDom_AppendComment(XMLDOM_HANDLE handle, const char* text);
// Removes the current node from its parent and moves the cursor to that parent; 0 when it has no
// parent. A removed node that a node handle still holds stays alive and navigable (it then has no
// parent) until the last such handle is released.
SVY3_API int32_t SVY_STDCALL XmlDom_RemoveCurrentNode(XMLDOM_HANDLE handle);

// Records the current node (possibly none) in a new node handle of this document; 0 when out of
// memory. Node handles are only accepted by the document handle that issued them.
SVY3_API XMLDOM_NODE SVY_STDCALL XmlDom_GetCurrentNodeHandle(XMLDOM_HANDLE handle);
// Moves the cursor to the node of a node handle; 0 (no move) for a value this handle did not issue.
SVY3_API int32_t SVY_STDCALL XmlDom_MoveToHandleNode(XMLDOM_HANDLE handle, XMLDOM_NODE node);
// Frees a node handle; a value this handle did not issue is ignored.
SVY3_API void SVY_STDCALL XmlDom_ReleaseNodeHandle(XMLDOM_HANDLE handle, XMLDOM_NODE node);
// Appends a copy of the node of a node handle as the last child of the current node: the whole
// subtree when `deep` is nonzero, else the node with its attributes and no children. The cursor
// stays. 0 when the value was not issued by this handle or nothing could be appended (a copy that
// would nest deeper than XMLDOM_MAX_DEPTH included).
SVY3_API int32_t SVY_STDCALL XmlDom_AppendNodeCopy(XMLDOM_HANDLE handle, XMLDOM_NODE node,
                                                   int32_t deep);

#ifdef __cplusplus
}
#endif
