// The macros that take the rows of the server operation table (service/server_operations.def)
// apart. A row gives its parameters as a parenthesised list of (Type) name, such as
// ((const QEM_ProductTypes::XNodeSeq&) in, (QEM_ProductTypes::XNodeSeq*&) out).
#pragma once

// --- One parameter -----------------------------------------------------------------------------
#define OKS_UNPARENTHESISED(...) __VA_ARGS__
#define OKS_SWALLOW(...)
#define OKS_TYPE_AND_REST(...) (__VA_ARGS__),
#define OKS_FIRST_UNPARENTHESISED(...) OKS_FIRST_UNPARENTHESISED_(__VA_ARGS__)
#define OKS_FIRST_UNPARENTHESISED_(first, ...) OKS_UNPARENTHESISED first

// (Type) name as a declaration, "Type name"; as its name; as its type.
#define OKS_DECLARATION_OF(parameter) OKS_UNPARENTHESISED parameter
#define OKS_NAME_OF(parameter) OKS_SWALLOW parameter
#define OKS_TYPE_OF(parameter) OKS_FIRST_UNPARENTHESISED(OKS_TYPE_AND_REST parameter)

// --- Every parameter of a list, separated by commas ---------------------------------------------
// OKS_FOR_EACH(M, a, b, c) is M(a), M(b), M(c); each rescan of OKS_EXPAND takes one more element.
#define OKS_FOR_EACH(macro, ...) __VA_OPT__(OKS_EXPAND(OKS_FOR_EACH_STEP(macro, __VA_ARGS__)))
#define OKS_FOR_EACH_STEP(macro, first, ...) \
  macro(first) __VA_OPT__(, OKS_FOR_EACH_AGAIN OKS_EMPTY_PARENTHESES(macro, __VA_ARGS__))
#define OKS_FOR_EACH_AGAIN() OKS_FOR_EACH_STEP
#define OKS_EMPTY_PARENTHESES ()
#define OKS_EXPAND(...) OKS_EXPAND3(OKS_EXPAND3(OKS_EXPAND3(OKS_EXPAND3(__VA_ARGS__))))
#define OKS_EXPAND3(...) OKS_EXPAND2(OKS_EXPAND2(OKS_EXPAND2(OKS_EXPAND2(__VA_ARGS__))))
#define OKS_EXPAND2(...) OKS_EXPAND1(OKS_EXPAND1(OKS_EXPAND1(OKS_EXPAND1(__VA_ARGS__))))
#define OKS_EXPAND1(...) __VA_ARGS__

// Used as OKS_PARAMETERS parameters, where parameters is a row's parenthesised list:
// the declarations, the names (the arguments of a call passing them on), the types.
#define OKS_PARAMETERS(...) OKS_FOR_EACH(OKS_DECLARATION_OF, __VA_ARGS__)
#define OKS_ARGUMENTS(...) OKS_FOR_EACH(OKS_NAME_OF, __VA_ARGS__)
#define OKS_PARAMETER_TYPES(...) OKS_FOR_EACH(OKS_TYPE_OF, __VA_ARGS__)
// The arguments after a comma, or nothing when there are none: f(x OKS_MORE_ARGUMENTS parameters).
#define OKS_MORE_ARGUMENTS(...) __VA_OPT__(, OKS_ARGUMENTS(__VA_ARGS__))

// An operation called on an object has the object as its first parameter; the class the
// commands call declares the others.
#define OKS_PARAMETERS_AFTER_OBJECT(object, ...) OKS_PARAMETERS(__VA_ARGS__)
#define OKS_MORE_ARGUMENTS_AFTER_OBJECT(object, ...) OKS_MORE_ARGUMENTS(__VA_ARGS__)

// Class::name, or name alone for a row without a class.
#define OKS_QUALIFIED(name, ...) __VA_OPT__(__VA_ARGS__::) name

// --- The forwarders of one class -----------------------------------------------------------------
// Inside a class the commands call, the table declares the forwarders of that class when
// OKS_FORWARDERS_OF_<Class> names how (OKS_STATIC, OKS_VIRTUAL or OKS_FUNCTION) and the file
// is included with no row macro defined:
//
//   class QEM_ConfigUtils {
//    public:
//   #define OKS_FORWARDERS_OF_QEM_ConfigUtils OKS_STATIC
//   #include <oks/service/server_operations.def>
//   #undef OKS_FORWARDERS_OF_QEM_ConfigUtils
//   };
//
// The rows without a class are selected by OKS_FORWARDERS_OF_ (functions of the global
// namespace). A row of a class that is not selected declares nothing.
#define OKS_STATIC ~, OKS_DECLARE_STATIC
#define OKS_VIRTUAL ~, OKS_DECLARE_VIRTUAL
#define OKS_FUNCTION ~, OKS_DECLARE_FUNCTION
#define OKS_DECLARE_STATIC(...) static __VA_ARGS__;
#define OKS_DECLARE_VIRTUAL(...) virtual __VA_ARGS__;
#define OKS_DECLARE_FUNCTION(...) __VA_ARGS__;
#define OKS_DECLARE_NOTHING(...)

// OKS_FORWARDERS_OF_<Class> is "~, OKS_DECLARE_..." when selected and stays one word when not:
// the second of the words that follow it is the macro that declares.
#define OKS_FORWARDER_DECLARATION(Class, ...) \
  OKS_SECOND_OF(OKS_FORWARDERS_OF_##Class, OKS_DECLARE_NOTHING, ~)(__VA_ARGS__)
#define OKS_SECOND_OF(...) OKS_SECOND_OF_(__VA_ARGS__)
#define OKS_SECOND_OF_(first, second, ...) second
