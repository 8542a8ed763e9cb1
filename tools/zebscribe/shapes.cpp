// Every statement the recorder writes between the model header and footer.
#include "grammar.h"

namespace zeb::tool {

const std::vector<Shape>& recorderShapes() {
  static const std::vector<Shape> shapes = {
      {""},  // the empty line after a block, or between configurations

      // Handles and query outputs.
      {"Zeb_BackendHandle_t $name;"},
      {"Zeb_ContextHandle_t $name;"},
      {"Zeb_DeviceHandle_t $name;"},
      {"Zeb_ProfileHandle_t $name;"},
      {"Zeb_GraphHandle_t $name;"},
      {"Zeb_GraphHandle_t $name = NULL;"},  // a graph whose declaring block was lost
      {"Zeb_ContextBinarySize_t $name;"},
      {"uint32_t $name;"},
      {"const ZebBackend_OperationName_t* $name;"},
      {"const ZebDevice_PlatformInfo_t* $name;"},
      {"ZebDevice_Infrastructure_t $name;"},
      {"const ZebProfile_EventId_t* $name;"},
      {"ZebProfile_EventData_t $name;"},
      {"ZebProfile_ExtendedEventData_t $name;"},
      {"// Scribe does not record calls to backend-specific APIs via device infrastructure, "
       "they must be manually inserted if desired."},
      {"// The event data will not be used in any way, any usage must be inserted manually if "
       "desired."},

      // Configurations and their NULL-terminated arrays.
      {"const ZebBackend_Config_t* $name[] = {$refsNULL};"},
      {"const ZebContext_Config_t* $name[] = {$refsNULL};"},
      {"const ZebDevice_Config_t* $name[] = {$refsNULL};"},
      {"const ZebGraph_Config_t* $name[] = {$refsNULL};"},
      {"const ZebProfile_Config_t* $name[] = {$refsNULL};"},
      {"const char* const $name[] = {$strsNULL};"},
      {"ZebBackend_Config_t $name = {ZEB_BACKEND_CONFIG_OPTION_CUSTOM, .customConfig=NULL};"},
      {"ZebBackend_Config_t $name = {ZEB_BACKEND_CONFIG_OPTION_ERROR_REPORTING, "
       ".errorConfig={(Zeb_ErrorReportingLevel_t)$i, $u}};"},
      {"ZebBackend_Config_t $name = {ZEB_BACKEND_CONFIG_OPTION_PLATFORM, .platformOption=$s};"},
      {"ZebContext_Config_t $name = {ZEB_CONTEXT_CONFIG_OPTION_CUSTOM, .customConfig=NULL};"},
      {"ZebContext_Config_t $name = {ZEB_CONTEXT_CONFIG_OPTION_PRIORITY, "
       ".priority=(Zeb_Priority_t)$i};"},
      {"ZebContext_Config_t $name = {ZEB_CONTEXT_CONFIG_OPTION_ERROR_REPORTING, "
       ".errorConfig={(Zeb_ErrorReportingLevel_t)$i, $u}};"},
      {"ZebContext_Config_t $name = {ZEB_CONTEXT_CONFIG_OPTION_OEM_STRING, .oemString=$s};"},
      {"ZebContext_Config_t $name = {ZEB_CONTEXT_CONFIG_ASYNC_EXECUTION_QUEUE_DEPTH, "
       ".asyncExeQueueDepth={ZEB_CONTEXT_ASYNC_EXECUTION_QUEUE_DEPTH_TYPE_NUMERIC, .depth=$u}};"},
      {"ZebContext_Config_t $name = {ZEB_CONTEXT_CONFIG_ENABLE_GRAPHS, .enableGraphs=$id};"},
      {"ZebContext_Config_t $name = {ZEB_CONTEXT_CONFIG_MEMORY_LIMIT_HINT, "
       ".memoryLimitHint=$u};"},
      {"ZebContext_Config_t $name = {ZEB_CONTEXT_CONFIG_PERSISTENT_BINARY, "
       ".isPersistentBinary=$u};"},
      {"ZebGraph_Config_t $name = {ZEB_GRAPH_CONFIG_OPTION_CUSTOM, .customConfig=NULL};"},
      {"ZebGraph_Config_t $name = {ZEB_GRAPH_CONFIG_OPTION_PRIORITY, "
       ".priority=(Zeb_Priority_t)$i};"},
      {"ZebProfile_Config_t $name = {ZEB_PROFILE_CONFIG_OPTION_CUSTOM, .customConfig=NULL};"},
      {"ZebProfile_Config_t $name = {ZEB_PROFILE_CONFIG_OPTION_MAX_EVENTS, "
       ".numMaxEvents=$uULL};"},
      {"ZebDevice_Config_t $name = {ZEB_DEVICE_CONFIG_OPTION_CUSTOM, .customConfig = NULL};"},
      {"ZebDevice_Config_t $name = {ZEB_DEVICE_CONFIG_OPTION_PLATFORM_INFO, "
       ".hardwareInfo = NULL};"},
      {"ZebDevice_Config_t $name = {ZEB_DEVICE_CONFIG_OPTION_PLATFORM_INFO, "
       ".hardwareInfo = &$id};"},

      // Platform information, bottom up.
      {"ZebDevice_CoreInfoV1_t $name = {$u, $u, NULL};"},
      {"ZebDevice_CoreInfo_t $name = {(ZebDevice_CoreInfoVersion_t)$i, .v1 = $id};"},
      {"ZebDevice_CoreInfo_t $name[] = {$ids};"},
      {"ZebDevice_HardwareDeviceInfoV1_t $name = {$u, $u, $u, $id, NULL};"},
      {"ZebDevice_HardwareDeviceInfo_t $name = {(ZebDevice_HardwareDeviceInfoVersion_t)$i, "
       ".v1 = $id};"},
      {"ZebDevice_HardwareDeviceInfo_t $name[] = {$ids};"},
      {"ZebDevice_PlatformInfoV1_t $name = {$u, $id};"},
      {"ZebDevice_PlatformInfo_t $name = {(ZebDevice_PlatformInfoVersion_t)$i, .v1 = $id};"},

      // Tensor descriptions.
      {"uint32_t $name[] = {$us};"},
      {"Zeb_ScaleOffset_t $name[] = {$pairs};"},
      {"Zeb_AxisScaleOffset_t $name = {$i, $u, $id};"},
      {"float $name[] = {$fs};"},
      {"int32_t $name[] = {$is};"},
      {"Zeb_BwAxisScaleOffset_t $name = {$u, $i, $u, $id, $id};"},
      {"Zeb_QuantizeParams_t $name = {(Zeb_Definition_t)$i, (Zeb_QuantizationEncoding_t)$i, "
       ".scaleOffsetEncoding = {0.0, 0}};"},
      {"Zeb_QuantizeParams_t $name = {(Zeb_Definition_t)$i, (Zeb_QuantizationEncoding_t)$i, "
       ".scaleOffsetEncoding = {$f, $i}};"},
      {"Zeb_QuantizeParams_t $name = {(Zeb_Definition_t)$i, (Zeb_QuantizationEncoding_t)$i, "
       ".bwScaleOffsetEncoding = {$u, $f, $i}};"},
      {"Zeb_QuantizeParams_t $name = {(Zeb_Definition_t)$i, (Zeb_QuantizationEncoding_t)$i, "
       ".axisScaleOffsetEncoding = $id};"},
      {"Zeb_QuantizeParams_t $name = {(Zeb_Definition_t)$i, (Zeb_QuantizationEncoding_t)$i, "
       ".bwAxisScaleOffsetEncoding = $id};"},
      {"// Reading 4-bit fixed point tensor data into a byte array since there is not a "
       "native 4-bit datatype."},
      // A data read fills the static array declared just before it, never more.
      {"static int8_t $name[$u];\nfread($1, 1, $2, fp);", 1},
      {"static int16_t $name[$u];\nfread($1, 2, $2, fp);", 2},
      {"static int32_t $name[$u];\nfread($1, 4, $2, fp);", 4},
      {"static int64_t $name[$u];\nfread($1, 8, $2, fp);", 8},
      {"static uint8_t $name[$u];\nfread($1, 1, $2, fp);", 1},
      {"static uint16_t $name[$u];\nfread($1, 2, $2, fp);", 2},
      {"static uint32_t $name[$u];\nfread($1, 4, $2, fp);", 4},
      {"static uint64_t $name[$u];\nfread($1, 8, $2, fp);", 8},
      {"static float $name[$u];\nfread($1, 4, $2, fp);", 4},
      {"static double $name[$u];\nfread($1, 8, $2, fp);", 8},
      {"Zeb_ClientBuffer_t $name = {NULL, 0};"},
      {"Zeb_ClientBuffer_t $name = {(void*)$id, $u};"},
      {"uint8_t $name[] = {$us};"},
      {"Zeb_TensorV1_t $name = {$tid, $s, (Zeb_TensorType_t)$i, $u, (Zeb_DataType_t)$i, $id, "
       "$u, $id, (Zeb_TensorMemType_t)$i, $id};"},
      {"Zeb_TensorV2_t $name = {$tid, $s, (Zeb_TensorType_t)$i, $u, (Zeb_DataType_t)$i, $id, "
       "$u, $id, (Zeb_TensorMemType_t)$i, $id, $id, {(Zeb_SparseLayoutType_t)$i,{$u,$u}}, $u};"},
      {"Zeb_Tensor_t $name = {(Zeb_TensorVersion_t)$i, .v1 = $id};"},
      {"Zeb_Tensor_t $name = {(Zeb_TensorVersion_t)$i, .v2 = $id};"},
      {"Zeb_Tensor_t $name[] = {$ids};"},
      {"Zeb_Tensor_t* $name = NULL;"},

      // Op configurations.
      {"Zeb_Scalar_t $name = {(Zeb_DataType_t)$i, .int8Value = $i};"},
      {"Zeb_Scalar_t $name = {(Zeb_DataType_t)$i, .int16Value = $i};"},
      {"Zeb_Scalar_t $name = {(Zeb_DataType_t)$i, .int32Value = $i};"},
      {"Zeb_Scalar_t $name = {(Zeb_DataType_t)$i, .uint8Value = $u};"},
      {"Zeb_Scalar_t $name = {(Zeb_DataType_t)$i, .uint16Value = $u};"},
      {"Zeb_Scalar_t $name = {(Zeb_DataType_t)$i, .uint32Value = $u};"},
      {"Zeb_Scalar_t $name = {(Zeb_DataType_t)$i, .floatValue = $f};"},
      {"Zeb_Scalar_t $name = {(Zeb_DataType_t)$i, .bool8Value = $u};"},
      {"Zeb_Scalar_t $name = {(Zeb_DataType_t)$i, .stringValue = $s};"},
      {"Zeb_Param_t $name = {(Zeb_ParamType_t)$i, $s, .scalarParam = $id};"},
      {"Zeb_Param_t $name = {(Zeb_ParamType_t)$i, $s, .tensorParam = $id};"},
      {"Zeb_Param_t $name[] = {$ids};"},
      {"Zeb_Param_t* $name = NULL;"},
      {"Zeb_OpConfigV1_t $name = {$s, $s, $s, $u, $id, $u, $id, $u, $id};"},
      {"Zeb_OpConfig_t $name = {(Zeb_OpConfigVersion_t)$i, .v1 = $id};"},

      // A binary asked for: the program saves it to {context}.bin. A second
      // query on the context assigns the variables the first declared.
      {"uint8_t* $name = (uint8_t*)malloc($size);\n"
       "VALIDATE(error, interface.contextGetBinary($id, $1, $2, $out));\n"
       "FILE* $name = fopen(\"$3.bin\", \"wb\");\n"
       "if (!$5) {\n"
       "   printf(\"ERROR: File open of $3.bin failed on line: %d\\n\", __LINE__);\n"
       "   return -1;\n"
       "}\n"
       "fwrite($1, 1, $2, $5);\n"
       "fclose($5);\n"
       "free($1);"},
      {"$id = (uint8_t*)malloc($size);\n"
       "VALIDATE(error, interface.contextGetBinary($id, $1, $2, $out));\n"
       "$id = fopen(\"$3.bin\", \"wb\");\n"
       "if (!$5) {\n"
       "   printf(\"ERROR: File open of $3.bin failed on line: %d\\n\", __LINE__);\n"
       "   return -1;\n"
       "}\n"
       "fwrite($1, 1, $2, $5);\n"
       "fclose($5);\n"
       "free($1);"},

      // The calls, one shape per member.
      {"VALIDATE(error, interface.backendCreate(loghandle, $id, &$id));"},
      {"VALIDATE(error, interface.backendSetConfig($id, $id));"},
      {"VALIDATE(error, interface.backendRegisterOpPackage($id, $s, $s, $s));"},
      {"VALIDATE(error, interface.backendGetSupportedOperations($id, $out, $out));"},
      {"VALIDATE(error, interface.backendValidateOpConfig($id, $id));"},
      {"VALIDATE(error, interface.backendFree($id));"},
      {"VALIDATE(error, interface.contextCreate($id, $id, $id, &$id));"},
      {"VALIDATE(error, interface.contextSetConfig($id, $id));"},
      {"VALIDATE(error, interface.contextGetBinarySize($id, $out));"},
      {"VALIDATE(error, interface.contextCreateFromBinary($id, $id, $id, $id, $u, &$id, $id));"},
      {"VALIDATE(error, interface.contextCreateFromBinaryWithSignal($id, $id, $id, $id, $u, &$id, "
       "$id, NULL));"},
      {"VALIDATE(error, interface.contextValidateBinary($id, $id, $id, $id, $u));"},
      {"VALIDATE(error, interface.contextFree($id, $id));"},
      {"VALIDATE(error, interface.deviceCreate(loghandle, $id, &$id));"},
      {"VALIDATE(error, interface.deviceSetConfig($id, $id));"},
      {"VALIDATE(error, interface.deviceGetInfo($id, $out));"},
      {"VALIDATE(error, interface.deviceGetPlatformInfo(loghandle, $out));"},
      {"VALIDATE(error, interface.deviceGetInfrastructure($out));"},
      {"VALIDATE(error, interface.deviceFree($id));"},
      {"VALIDATE(error, interface.profileCreate($id, (ZebProfile_Level_t)$i, &$id));"},
      {"VALIDATE(error, interface.profileSetConfig($id, $id));"},
      {"VALIDATE(error, interface.profileGetEvents($id, $out, $out));"},
      {"VALIDATE(error, interface.profileGetSubEvents((ZebProfile_EventId_t)$u, $out, $out));"},
      {"VALIDATE(error, interface.profileGetEventData((ZebProfile_EventId_t)$u, $out));"},
      {"VALIDATE(error, interface.profileGetExtendedEventData((ZebProfile_EventId_t)$u, $out));"},
      {"VALIDATE(error, interface.profileFree($id));"},
      {"VALIDATE(error, interface.propertyHasCapability((ZebProperty_Key_t)$u));"},
      {"VALIDATE(error, interface.graphCreate($id, $s, $id, &$id));"},
      {"VALIDATE(error, interface.graphCreateSubgraph($id, $s, &$id));"},
      {"VALIDATE(error, interface.graphSetConfig($id, $id));"},
      {"VALIDATE(error, interface.graphAddNode($id, $id));"},
      {"VALIDATE(error, interface.graphFinalize($id, $id, NULL));"},
      {"VALIDATE(error, interface.graphExecute($id, $id, $u, $id, $u, $id, NULL));"},
      {"VALIDATE(error, interface.graphRetrieve($id, $s, &$id));"},
      {"VALIDATE(error, interface.tensorCreateContextTensor($id, &$id));"},
      {"VALIDATE(error, interface.tensorCreateGraphTensor($id, &$id));"},
  };
  return shapes;
}

}  // namespace zeb::tool
